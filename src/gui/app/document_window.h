// The frame of one document window inside the main window.
#pragma once

#include <QMdiSubWindow>

namespace yomi6 {

struct AppSettings;
class TextView;

class DocumentWindow : public QMdiSubWindow {
    Q_OBJECT
public:
    explicit DocumentWindow(TextView* view, QWidget* parent = nullptr);

    TextView* View() const { return m_view; }

    // Shows the frame the way document windows are shown now: normal, minimized or maximized
    // after the remembered child show state.
    void ActivateWindow();

    // Refreshes the caption from the document: its title, ":2" for a second window on it, and
    // "*" after it while the document has unsaved changes.
    void UpdateCaption();
    // The caption without the mark of unsaved changes, as the window menu lists it.
    QString Caption() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The settings of the run the frame's document belongs to.
    AppSettings& Settings() const;
    void RememberShowState();

    TextView* m_view;
};

} // namespace yomi6
