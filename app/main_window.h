#pragma once

#include <QWidget>
#include <array>

#include "run/main_window_operations.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace velmira {

class GbkLabel;

// The one main window: the six progress labels, the stage and device lists, the
// automatic-volume box, the start and stop buttons and the timer. It only shows
// and reports; what the events do is run control's business.
class MainWindow : public QWidget, public MainWindowOperations {
    Q_OBJECT

public:
    static constexpr QSize kOuterSize{364, 237};

    explicit MainWindow(QWidget* parent = nullptr);

    [[nodiscard]] std::string Caption(ProgressLabel label) const override;
    void SetCaption(ProgressLabel label, std::string_view text) override;
    void SetDisabled(LockableControl control, bool disabled) override;
    [[nodiscard]] bool AutoVolumeChecked() const override;
    [[nodiscard]] int Selection(SelectionList list) const override;
    [[nodiscard]] std::string ItemText(SelectionList list, int index) const override;
    void SetTimerPeriod(int milliseconds) override;
    void MoveFocusToTodayStageOneLabel() override;

signals:
    void startClicked();
    void stopClicked();
    void deviceChosen();
    void focusOnlyClicked();
    void ticked();
    // Emitted while the window is about to close; the close is never refused.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildProgressGroups();
    void BuildSettingsGroup();
    void ConnectSignals();
    [[nodiscard]] QComboBox* List(SelectionList list) const;

    std::array<GbkLabel*, 6> progressLabels_{};
    QComboBox* stageList_ = nullptr;
    QComboBox* deviceList_ = nullptr;
    QCheckBox* fullAutoBox_ = nullptr;
    QCheckBox* autoVolumeBox_ = nullptr;
    QPushButton* startButton_ = nullptr;
    QPushButton* stopButton_ = nullptr;
    QPushButton* correctionButton_ = nullptr;
    QPushButton* manualButton_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace velmira
