// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Keeps every text field within code page 1251: a character cp1251 cannot hold is replaced by "?" as it
// is typed or pasted, so what the operator sees is what is stored and sent.

class QLineEdit;
class QPlainTextEdit;
class QComboBox;

namespace zolbin {

void keepCp1251(QLineEdit* edit);
void keepCp1251(QPlainTextEdit* edit);
void keepCp1251(QComboBox* box); // editable combo boxes

} // namespace zolbin
