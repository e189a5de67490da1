#pragma once
// The splash window shown while the program starts.

#include <QWidget>

namespace zolbin {

class TfmSplash : public QWidget
{
    Q_OBJECT
public:
    explicit TfmSplash(QWidget* parent = nullptr);
};

// Creates the splash window, shows and paints it, then waits without dispatching any message until the
// whole-second count of the tick counter has advanced by 2 (one to two seconds), and closes it.
void ShowSplash();

} // namespace zolbin
