#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/gbk_codec.h"
#include "app/gbk_label.h"
#include "app/main_window.h"
#include "app/volume_prompt_dialog.h"
#include "audio/master_volume.h"
#include "audio/stage_player.h"
#include "run/run_control.h"
#include "run/sleep_inhibitor.h"
#include "store/progress_store.h"

using namespace velmira;

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

struct RecordingServices : ProgressStore, StagePlayer, MasterVolume, SleepInhibitor {
    void SelectProgressFile() override { calls << "select"; }
    void LoadProgress() override { calls << "load"; }
    void SaveProgress() override { calls << "save"; }
    bool StoredDateIsToday() override { return true; }
    void PlayStageTrack(int stage) override { calls << QStringLiteral("play %1").arg(stage); }
    void StopPlayback() override { calls << "stop-playback"; }
    void BindMasterVolume() override { calls << "bind"; }
    void ScaleVolumeForStage(int stage) override { calls << QStringLiteral("scale %1").arg(stage); }
    void RestoreVolume() override { calls << "restore"; }
    void Acquire() override {}
    void Release() override {}
    QStringList calls;
};

// Closes whatever modal window opens, after `check` has looked at it.
void CloseNextModal(std::function<void(QWidget*)> check) {
    auto* poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, check] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        poll->stop();
        poll->deleteLater();
        check(modal);
        modal->close();
    });
    poll->start(10);
}

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    // One window wired to run control, as the program does it, with recording services.
    struct Rig {
        Rig()
            : prompt(&window, window, services),
              control(state, window, RunServices{services, services, services, prompt, services},
                      SteadyClock()) {
            QObject::connect(&window, &MainWindow::startClicked, [this] { control.Start(); });
            QObject::connect(&window, &MainWindow::stopClicked, [this] { control.Stop(); });
            QObject::connect(&window, &MainWindow::deviceChosen,
                             [this] { control.DeviceChanged(); });
            QObject::connect(&window, &MainWindow::focusOnlyClicked,
                             [this] { control.MoveFocus(); });
            QObject::connect(&window, &MainWindow::ticked, [this] { control.Tick(); });
            QObject::connect(&window, &MainWindow::closing, [this] { control.Close(); });
            control.Created();
            window.show();
            window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&window));
        }
        template <typename T>
        T* Find(const char* name) {
            return window.findChild<T*>(U(name));
        }

        RunState state;
        MainWindow window;
        RecordingServices services;
        VolumePromptWindow prompt;
        RunControl control;
    };

    static QLabel* Today1(Rig& rig) { return rig.Find<QLabel>("今日第一阶段标签"); }

private slots:
    void controlsHaveTheirNamesTextsAndPlaces_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("parent");
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QString>("text");
        struct Row {
            const char *name, *parent;
            QRect rect;
            const char* text;
        };
        const Row rows[] = {
            {"分组框1", "", {5, 5, 170, 80}, "今日进度"},
            {"标签2", "分组框1", {9, 17, 64, 16}, "第一阶段："},
            {"标签3", "分组框1", {9, 37, 64, 16}, "第二阶段："},
            {"标签8", "分组框1", {9, 57, 64, 16}, "第三阶段："},
            {"今日第一阶段标签", "分组框1", {67, 17, 100, 16}, "0小时00分00秒"},
            {"今日第二阶段标签", "分组框1", {67, 37, 100, 16}, "0小时00分00秒"},
            {"今日第三阶段标签", "分组框1", {67, 57, 100, 16}, "0小时00分00秒"},
            {"分组框2", "", {184, 5, 170, 80}, "累计进度"},
            {"标签5", "分组框2", {9, 17, 64, 16}, "第一阶段："},
            {"标签4", "分组框2", {9, 37, 64, 16}, "第二阶段："},
            {"标签9", "分组框2", {9, 57, 64, 16}, "第三阶段："},
            {"累计第一阶段标签", "分组框2", {67, 17, 100, 16}, "0小时00分00秒"},
            {"累计第二阶段标签", "分组框2", {67, 37, 100, 16}, "0小时00分00秒"},
            {"累计第三阶段标签", "分组框2", {67, 57, 100, 16}, "0小时00分00秒"},
            {"分组框3", "", {5, 87, 349, 105}, "工作设置"},
            {"标签1", "分组框3", {8, 15, 56, 24}, "阶段选择："},
            {"阶段组合框", "分组框3", {66, 17, 80, 20}, "第一阶段"},
            {"标签6", "分组框3", {8, 39, 56, 24}, "设备选择："},
            {"设备组合框", "分组框3", {66, 42, 80, 20}, "设备一"},
            {"选择框2", "分组框3", {161, 19, 122, 16}, "全自动煲机模式"},
            {"自动音量选择框", "分组框3", {161, 44, 120, 16}, "自动控制音量比例"},
            {"按钮1", "分组框3", {11, 69, 81, 26}, "开始煲机"},
            {"按钮2", "分组框3", {93, 69, 81, 26}, "停止煲机"},
            {"按钮3", "分组框3", {175, 69, 81, 26}, "计时校正"},
            {"按钮5", "分组框3", {257, 69, 81, 26}, "说明文档"},
            {"透明标签1", "", {7, 192, 345, 16}, nullptr},
        };
        for (const Row& row : rows)
            QTest::newRow(row.name)
                << U(row.name) << U(row.parent) << row.rect << (row.text ? U(row.text) : QString());
    }

    void controlsHaveTheirNamesTextsAndPlaces() {
        QFETCH(QString, name);
        QFETCH(QString, parent);
        QFETCH(QRect, rect);
        QFETCH(QString, text);
        MainWindow window;
        auto* widget = window.findChild<QWidget*>(name);
        QVERIFY2(widget, qPrintable(name));
        QCOMPARE(widget->geometry(), rect);
        QCOMPARE(widget->parentWidget()->objectName(), parent);
        QVERIFY(widget->isEnabled() || name == U("选择框2"));
        if (text.isNull()) return;
        QString shown;
        if (auto* label = qobject_cast<QLabel*>(widget))
            shown = label->text();
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            shown = button->text();
        else if (auto* group = qobject_cast<QGroupBox*>(widget))
            shown = group->title();
        else if (auto* list = qobject_cast<QComboBox*>(widget))
            shown = list->currentText();
        QCOMPARE(shown, text);
    }

    void windowStartsIdleWithItsDefaults() {
        Rig rig;
        QCOMPARE(rig.window.windowTitle(), QStringLiteral("Velmira V1.0"));
        // The outer size counts the frame; the client is smaller by its margins.
        QCOMPARE(rig.window.frameGeometry().size(), QSize(364, 237));
        QCOMPARE(rig.window.minimumSize(), rig.window.maximumSize());
        QVERIFY(!(rig.window.windowFlags() & Qt::WindowMaximizeButtonHint));
        const QRect screen = rig.window.screen()->geometry();
        QCOMPARE(rig.window.frameGeometry().topLeft(),
                 QPoint((screen.width() - 364) / 2, (screen.height() - 237) / 2));

        auto* stages = rig.Find<QComboBox>("阶段组合框");
        QCOMPARE(stages->count(), 3);
        QCOMPARE(stages->itemText(2), U("第三阶段"));
        QVERIFY(!stages->isEditable());
        QCOMPARE(rig.Find<QComboBox>("设备组合框")->itemText(4), U("设备五"));
        QVERIFY(rig.Find<QCheckBox>("自动音量选择框")->isChecked());
        QVERIFY(!rig.Find<QCheckBox>("选择框2")->isChecked());
        QVERIFY(!rig.Find<QCheckBox>("选择框2")->isEnabled());
        auto* timer = rig.window.findChild<QTimer*>(U("时钟1"));
        QVERIFY(timer);
        QVERIFY(!timer->isActive());
        QCOMPARE(rig.services.calls, (QStringList{"bind", "select", "load"}));
        for (const char* name : {"按钮1", "按钮2", "按钮3", "按钮5"})
            QVERIFY2(!(rig.Find<QPushButton>(name)->focusPolicy() & Qt::TabFocus), name);
    }

    void startAndStopLockAndUnlockTheSettings() {
        Rig rig;
        QTest::mouseClick(rig.Find<QCheckBox>("自动音量选择框"), Qt::LeftButton, {}, QPoint(8, 8));
        QVERIFY(!rig.window.AutoVolumeChecked());
        QCOMPARE(QApplication::focusWidget(), Today1(rig));

        rig.services.calls.clear();
        QTest::mouseClick(rig.Find<QPushButton>("按钮1"), Qt::LeftButton);
        for (const char* name : {"按钮1", "阶段组合框", "设备组合框", "自动音量选择框"})
            QVERIFY2(!rig.Find<QWidget>(name)->isEnabled(), name);
        QVERIFY(rig.Find<QPushButton>("按钮2")->isEnabled());
        auto* timer = rig.window.findChild<QTimer*>(U("时钟1"));
        QVERIFY(timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        QCOMPARE(timer->timerType(), Qt::PreciseTimer);
        QCOMPARE(QApplication::focusWidget(), Today1(rig));
        QCOMPARE(rig.services.calls, (QStringList{"play 0"}));

        QTRY_COMPARE_WITH_TIMEOUT(Today1(rig)->text(), U("0小时00分01秒"), 2500);

        QTest::mouseClick(rig.Find<QPushButton>("按钮2"), Qt::LeftButton);
        for (const char* name : {"按钮1", "阶段组合框", "设备组合框", "自动音量选择框", "按钮2"})
            QVERIFY2(rig.Find<QWidget>(name)->isEnabled(), name);
        QVERIFY(!timer->isActive());
        QCOMPARE(rig.services.calls.last(), QStringLiteral("save"));
    }

    void startWithAutomaticVolumeShowsThePromptFirst() {
        Rig rig;
        rig.Find<QComboBox>("阶段组合框")->setCurrentIndex(2);
        rig.Find<QComboBox>("设备组合框")->setCurrentIndex(4);
        bool seen = false;
        CloseNextModal([&](QWidget* modal) {
            seen = true;
            QCOMPARE(modal->windowTitle(), U("提示"));
            QVERIFY(!rig.window.isEnabled() || QApplication::activeModalWidget() == modal);
            // Nothing of the run has happened yet: the timer waits for the prompt.
            QVERIFY(!rig.window.findChild<QTimer*>(U("时钟1"))->isActive());
            QVERIFY(rig.Find<QPushButton>("按钮1")->isEnabled());
            auto* selection = modal->findChild<GbkLabel*>(U("标签1"));
            QVERIFY(selection);
            QCOMPARE(selection->text(), U("设备编号：设备五    所选阶段：第三阶段"));
        });
        rig.services.calls.clear();
        QTest::mouseClick(rig.Find<QPushButton>("按钮1"), Qt::LeftButton);
        QVERIFY(seen);
        QCOMPARE(rig.services.calls, (QStringList{"play 2", "play 2", "scale 2"}));
        QVERIFY(rig.window.findChild<QTimer*>(U("时钟1"))->isActive());
    }

    void promptHasItsLookAndIgnoresEscAndEnter() {
        MainWindow window;
        RecordingServices services;
        window.show();
        VolumePromptDialog dialog(&window, window, services);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(services.calls, (QStringList{"play 0"}));
        QCOMPARE(dialog.windowTitle(), U("提示"));
        QCOMPARE(dialog.frameGeometry().size(), QSize(269, 122));
        QVERIFY(!(dialog.windowFlags() &
                  (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QCOMPARE(dialog.selectionLabel()->text(), U("设备编号：设备一    所选阶段：第一阶段"));
        QCOMPARE(dialog.instructionLabel()->text(),
                 U("请根据当前播放的音乐调整系统音量为正常听歌音量，确认红色信息无误后关闭本窗口，"
                   "程序将根据所选阶段适合的音量进行调整。"));
        QCOMPARE(dialog.selectionLabel()->geometry(), QRect(3, 6, 260, 21));
        QCOMPARE(dialog.instructionLabel()->geometry(), QRect(3, 24, 260, 70));
        QCOMPARE(dialog.selectionLabel()->font().pixelSize(), 12);
        QCOMPARE(dialog.instructionLabel()->font().pixelSize(), 16);
        QVERIFY(dialog.instructionLabel()->wordWrap());
        QCOMPARE(dialog.selectionLabel()->palette().color(QPalette::WindowText), QColor(255, 0, 0));

        for (int key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
            QTest::keyClick(&dialog, static_cast<Qt::Key>(key));
            QVERIFY2(dialog.isVisible(), "a key closed the prompt");
        }
        dialog.close();
        QVERIFY(!dialog.isVisible());
    }

    void focusOnlyButtonsMoveTheFocusAndNothingElse() {
        Rig rig;
        for (const char* name : {"按钮3", "按钮5"}) {
            auto* stages = rig.Find<QComboBox>("阶段组合框");
            stages->setFocus();
            rig.services.calls.clear();
            QTest::mouseClick(rig.Find<QPushButton>(name), Qt::LeftButton);
            QCOMPARE(QApplication::focusWidget(), Today1(rig));
            QVERIFY(rig.services.calls.isEmpty());
        }
    }

    void pickingADeviceReloadsEvenTheSameOne() {
        Rig rig;
        auto* devices = rig.Find<QComboBox>("设备组合框");
        rig.services.calls.clear();
        devices->setCurrentIndex(2);
        emit devices->activated(2);
        emit devices->activated(2);
        QCOMPARE(rig.services.calls, (QStringList{"select", "load", "select", "load"}));
        QCOMPARE(rig.window.Selection(SelectionList::Device), 2);
    }

    void closingDuringARunStopsAndSaves() {
        Rig rig;
        rig.window.findChild<QCheckBox*>(U("自动音量选择框"))->setChecked(false);
        rig.control.Start();
        rig.services.calls.clear();
        QVERIFY(rig.window.close());
        QCOMPARE(rig.services.calls, (QStringList{"stop-playback", "save"}));
        QVERIFY(!rig.window.findChild<QTimer*>(U("时钟1"))->isActive());
    }

    void labelsKeepTheirExactBytes() {
        GbkLabel label;
        const std::string bytes =
            "12\xD0\xA1\xCA\xB1\xFF\xD0";  // 12小时, a bad byte, a lone lead byte
        label.setGbkText(bytes);
        QCOMPARE(label.gbkText(), bytes);
        QCOMPARE(label.text(), U("12小时\xEF\xBF\xBD\xEF\xBF\xBD"));
        MainWindow window;
        window.SetCaption(ProgressLabel::AggregateStageThree, bytes);
        QCOMPARE(window.Caption(ProgressLabel::AggregateStageThree), bytes);
    }

    void itemTextsComeBackAsGbk() {
        MainWindow window;
        QCOMPARE(window.ItemText(SelectionList::Device, 0),
                 std::string("\xC9\xE8\xB1\xB8\xD2\xBB"));
        QCOMPARE(window.ItemText(SelectionList::Stage, 3), std::string());
        QCOMPARE(window.ItemText(SelectionList::Stage, -1), std::string());
    }

    void timerKeepsItsPhaseWhenGivenTheSamePeriod() {
        MainWindow window;
        auto* timer = window.findChild<QTimer*>(U("时钟1"));
        window.SetTimerPeriod(-5);
        QVERIFY(!timer->isActive());
        window.SetTimerPeriod(1000);
        const int id = timer->timerId();
        window.SetTimerPeriod(1000);
        QCOMPARE(timer->timerId(), id);
        window.SetTimerPeriod(500);
        QCOMPARE(timer->interval(), 500);
        window.SetTimerPeriod(0);
        QVERIFY(!timer->isActive());
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
