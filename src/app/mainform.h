#pragma once

#include <QMainWindow>

#include <functional>

class QDialog;
class QMenu;
class QTabWidget;
class QToolButton;

namespace kav {

// The single main window: three main tabs (dose per intake with its two sub-tabs, the bioassay
// view, radon) and the help button over the tab row. Creating it runs the start-up sequence.
class TMainForm : public QMainWindow {
public:
    static const QString Caption;

    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    bool IsFormActivated() const { return FIsFormActivated; }

    // Start-up, first activation and tear-down.
    void FormCreate();
    void FormActivate();
    void FormDestroy();

    // Sends a wheel turn to the control under the pointer; true when the event was handled.
    bool JxApplicationEventsMessage(QObject* receiver, QEvent* event);

    // Shows a modal dialog; tests replace it so that nothing blocks.
    std::function<int(QDialog&)> ExecModal;

    QTabWidget* MainTabs() const { return pcMain; }
    QTabWidget* DosePerIntakeTabs() const { return pcDosePerIntake; }
    QToolButton* HelpButton() const { return JxpbHelp; }

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateControls();
    void aAboutExecute();

    bool FIsFormActivated = false;
    bool FRoutingWheel = false;

    QTabWidget* pcMain = nullptr;
    QTabWidget* pcDosePerIntake = nullptr;
    QWidget* tsDosePerIntake = nullptr;
    QWidget* tsMixture = nullptr;
    QWidget* tsDPUI = nullptr;
    QWidget* tsDPUM = nullptr;
    QWidget* tsRadon = nullptr;
    QToolButton* JxpbHelp = nullptr;
    QMenu* pmHelp = nullptr;
};

} // namespace kav
