#include "app/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "app/gbk_codec.h"
#include "app/gbk_label.h"
#include "app/outer_size.h"
#include "run/duration_text.h"

namespace velmira {
namespace {

template <typename Widget>
Widget* Place(Widget* widget, const char* name, QRect rect) {
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(rect);
    return widget;
}

QGroupBox* MakeGroup(QWidget* parent, const char* name, const char* title, QRect rect) {
    return Place(new QGroupBox(QString::fromUtf8(title), parent), name, rect);
}

QLabel* MakeStageNameLabel(QWidget* parent, const char* name, const char* text, QRect rect) {
    auto* label = Place(new QLabel(QString::fromUtf8(text), parent), name, rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return label;
}

GbkLabel* MakeProgressLabel(QWidget* parent, const char* name, QRect rect) {
    auto* label = Place(new GbkLabel(parent), name, rect);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->setGbkText(kZeroDurationText);
    return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* text, QRect rect) {
    auto* button = Place(new QPushButton(QString::fromUtf8(text), parent), name, rect);
    // Only the lists and check boxes are tab stops; a click still focuses a button.
    button->setFocusPolicy(Qt::ClickFocus);
    button->setAutoDefault(false);
    return button;
}

QComboBox* MakeList(QWidget* parent, const char* name, QRect rect,
                    std::initializer_list<const char*> items) {
    auto* list = Place(new QComboBox(parent), name, rect);
    for (const char* item : items) list->addItem(QString::fromUtf8(item));
    list->setEditable(false);
    list->setFocusPolicy(Qt::StrongFocus);
    list->setCurrentIndex(0);
    return list;
}

QCheckBox* MakeCheckBox(QWidget* parent, const char* name, const char* text, QRect rect) {
    auto* box = Place(new QCheckBox(QString::fromUtf8(text), parent), name, rect);
    box->setFocusPolicy(Qt::StrongFocus);
    return box;
}

}  // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("Velmira V1.0"));
    BuildProgressGroups();
    BuildSettingsGroup();

    auto* credit = Place(
        new QLabel(QString::fromUtf8("Velmira 耳机煲机计时：按阶段循环播放，进度自动保存"), this),
        "透明标签1", QRect(7, 192, 345, 16));
    credit->setAttribute(Qt::WA_TranslucentBackground);
    credit->setAutoFillBackground(false);
    QPalette red = credit->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    credit->setPalette(red);
    credit->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    timer_ = new QTimer(this);
    timer_->setObjectName(QString::fromUtf8("时钟1"));
    // A coarse timer fires up to 5 % late; the counters follow a monotonic clock
    // anyway, but a precise timer keeps the labels in step with the seconds.
    timer_->setTimerType(Qt::PreciseTimer);

    ConnectSignals();
    OuterSize::Keep(this, kOuterSize);
}

void MainWindow::BuildProgressGroups() {
    QGroupBox* today = MakeGroup(this, "分组框1", "今日进度", QRect(5, 5, 170, 80));
    MakeStageNameLabel(today, "标签2", "第一阶段：", QRect(9, 17, 64, 16));
    MakeStageNameLabel(today, "标签3", "第二阶段：", QRect(9, 37, 64, 16));
    MakeStageNameLabel(today, "标签8", "第三阶段：", QRect(9, 57, 64, 16));
    progressLabels_[0] = MakeProgressLabel(today, "今日第一阶段标签", QRect(67, 17, 100, 16));
    progressLabels_[1] = MakeProgressLabel(today, "今日第二阶段标签", QRect(67, 37, 100, 16));
    progressLabels_[2] = MakeProgressLabel(today, "今日第三阶段标签", QRect(67, 57, 100, 16));

    QGroupBox* aggregate = MakeGroup(this, "分组框2", "累计进度", QRect(184, 5, 170, 80));
    MakeStageNameLabel(aggregate, "标签5", "第一阶段：", QRect(9, 17, 64, 16));
    MakeStageNameLabel(aggregate, "标签4", "第二阶段：", QRect(9, 37, 64, 16));
    MakeStageNameLabel(aggregate, "标签9", "第三阶段：", QRect(9, 57, 64, 16));
    progressLabels_[3] = MakeProgressLabel(aggregate, "累计第一阶段标签", QRect(67, 17, 100, 16));
    progressLabels_[4] = MakeProgressLabel(aggregate, "累计第二阶段标签", QRect(67, 37, 100, 16));
    progressLabels_[5] = MakeProgressLabel(aggregate, "累计第三阶段标签", QRect(67, 57, 100, 16));
}

void MainWindow::BuildSettingsGroup() {
    QGroupBox* settings = MakeGroup(this, "分组框3", "工作设置", QRect(5, 87, 349, 105));
    MakeStageNameLabel(settings, "标签1", "阶段选择：", QRect(8, 15, 56, 24));
    stageList_ = MakeList(settings, "阶段组合框", QRect(66, 17, 80, 20),
                          {"第一阶段", "第二阶段", "第三阶段"});
    MakeStageNameLabel(settings, "标签6", "设备选择：", QRect(8, 39, 56, 24));
    deviceList_ = MakeList(settings, "设备组合框", QRect(66, 42, 80, 20),
                           {"设备一", "设备二", "设备三", "设备四", "设备五"});
    fullAutoBox_ = MakeCheckBox(settings, "选择框2", "全自动煲机模式", QRect(161, 19, 122, 16));
    fullAutoBox_->setEnabled(false);
    autoVolumeBox_ =
        MakeCheckBox(settings, "自动音量选择框", "自动控制音量比例", QRect(161, 44, 120, 16));
    autoVolumeBox_->setChecked(true);
    startButton_ = MakeButton(settings, "按钮1", "开始煲机", QRect(11, 69, 81, 26));
    stopButton_ = MakeButton(settings, "按钮2", "停止煲机", QRect(93, 69, 81, 26));
    correctionButton_ = MakeButton(settings, "按钮3", "计时校正", QRect(175, 69, 81, 26));
    manualButton_ = MakeButton(settings, "按钮5", "说明文档", QRect(257, 69, 81, 26));
    setTabOrder(stageList_, deviceList_);
    setTabOrder(deviceList_, fullAutoBox_);
    setTabOrder(fullAutoBox_, autoVolumeBox_);
}

void MainWindow::ConnectSignals() {
    connect(startButton_, &QPushButton::clicked, this, &MainWindow::startClicked);
    connect(stopButton_, &QPushButton::clicked, this, &MainWindow::stopClicked);
    connect(correctionButton_, &QPushButton::clicked, this, &MainWindow::focusOnlyClicked);
    connect(manualButton_, &QPushButton::clicked, this, &MainWindow::focusOnlyClicked);
    connect(autoVolumeBox_, &QCheckBox::clicked, this, &MainWindow::focusOnlyClicked);
    // activated, not currentIndexChanged: picking the item already selected reloads too.
    connect(deviceList_, &QComboBox::activated, this, &MainWindow::deviceChosen);
    connect(timer_, &QTimer::timeout, this, &MainWindow::ticked);
}

void MainWindow::closeEvent(QCloseEvent* event) {
    emit closing();
    event->accept();
}

std::string MainWindow::Caption(ProgressLabel label) const {
    return progressLabels_[static_cast<std::size_t>(label)]->gbkText();
}

void MainWindow::SetCaption(ProgressLabel label, std::string_view text) {
    progressLabels_[static_cast<std::size_t>(label)]->setGbkText(text);
}

void MainWindow::SetDisabled(LockableControl control, bool disabled) {
    QWidget* widget = nullptr;
    switch (control) {
        case LockableControl::StartButton:
            widget = startButton_;
            break;
        case LockableControl::StageList:
            widget = stageList_;
            break;
        case LockableControl::DeviceList:
            widget = deviceList_;
            break;
        case LockableControl::AutoVolumeBox:
            widget = autoVolumeBox_;
            break;
    }
    widget->setEnabled(!disabled);
}

bool MainWindow::AutoVolumeChecked() const { return autoVolumeBox_->isChecked(); }

QComboBox* MainWindow::List(SelectionList list) const {
    return list == SelectionList::Stage ? stageList_ : deviceList_;
}

int MainWindow::Selection(SelectionList list) const { return List(list)->currentIndex(); }

std::string MainWindow::ItemText(SelectionList list, int index) const {
    const QComboBox* combo = List(list);
    if (index < 0 || index >= combo->count()) return {};
    return Utf8ToGbk(combo->itemText(index).toStdString());
}

void MainWindow::SetTimerPeriod(int milliseconds) {
    milliseconds = std::max(milliseconds, 0);
    if (milliseconds == 0) {
        timer_->stop();
        return;
    }
    if (timer_->isActive() && timer_->interval() == milliseconds) return;  // keeps its phase
    timer_->start(milliseconds);
}

void MainWindow::MoveFocusToTodayStageOneLabel() {
    progressLabels_[static_cast<std::size_t>(ProgressLabel::TodayStageOne)]->setFocus(
        Qt::OtherFocusReason);
}

}  // namespace velmira
