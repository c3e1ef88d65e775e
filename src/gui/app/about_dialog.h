// The about box: the program icon, its name and version, the credit of the shipped voices,
// and an "ok" button.
#pragma once

#include <QDialog>

namespace yomi6 {

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);
};

} // namespace yomi6
