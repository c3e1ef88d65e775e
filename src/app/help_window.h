// The help contents: a short guide of our own, shown in a window of its own.
#pragma once

#include <QDialog>

namespace yomi6 {

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);
};

} // namespace yomi6
