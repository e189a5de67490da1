# SPDX-License-Identifier: GPL-3.0-or-later
# The interface's translations. Every library with interface text keeps one catalogue of its own,
# <folder>/translations/<catalogue>_en.ts, whose source texts are the Russian ones written in the code
# (tr() and QT_TRANSLATE_NOOP, and tx() of platform/Text.h for the logic's texts). The compiled catalogue
# is a resource of the library, ":/i18n/<catalogue>_en.qm";
# a host loads every catalogue it finds there for the language the locale asks for (platform/Translations).
#
# `cmake --build --preset debug --target update_translations` runs lupdate over every library and brings the
# .ts files up to date (no source locations, so a moved line changes nothing); the test
# Translations.EveryTextTranslated fails while a text has no English translation.
find_package(Qt6 6.4 REQUIRED COMPONENTS LinguistTools)

set_property(GLOBAL PROPERTY ZOLBIN_TRANSLATION_FILES "")

function(zolbin_translations target catalogue)
  set(ts "${CMAKE_CURRENT_SOURCE_DIR}/translations/${catalogue}_en.ts")
  qt_add_translations(${target}
    TS_FILES "${ts}"
    RESOURCE_PREFIX /i18n
    LUPDATE_OPTIONS -locations none -tr-function-alias QT_TRANSLATE_NOOP+=tx -no-obsolete -source-language ru_RU -target-language en_US)
  set_property(GLOBAL APPEND PROPERTY ZOLBIN_TRANSLATION_FILES "${ts}|${CMAKE_CURRENT_SOURCE_DIR}")
endfunction()
