// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Installs the Prompts responder that shows real message boxes: the program's name as caption for plain
// messages, the buttons "&Да" and "&Нет" for questions, the requested icon.

namespace zolbin {

void installWidgetPrompts();

} // namespace zolbin
