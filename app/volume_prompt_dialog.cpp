#include "app/volume_prompt_dialog.h"

#include <QKeyEvent>

#include "app/gbk_label.h"
#include "app/outer_size.h"
#include "audio/stage_player.h"
#include "run/main_window_operations.h"

namespace velmira {
namespace {

// Both texts are GBK.
constexpr std::string_view kDeviceCaption =
    "\xC9\xE8\xB1\xB8\xB1\xE0\xBA\xC5\xA3\xBA";  // 设备编号：
constexpr std::string_view kStageCaption =
    "    \xCB\xF9\xD1\xA1\xBD\xD7\xB6\xCE\xA3\xBA";  // "    所选阶段："
constexpr std::string_view kInstruction =
    "\xC7\xEB\xB8\xF9\xBE\xDD\xB5\xB1\xC7\xB0\xB2\xA5\xB7\xC5\xB5\xC4\xD2\xF4\xC0\xD6"  // 请根据当前播放的音乐
    "\xB5\xF7\xD5\xFB\xCF\xB5\xCD\xB3\xD2\xF4\xC1\xBF\xCE\xAA\xD5\xFD\xB3\xA3\xCC\xFD"  // 调整系统音量为正常听
    "\xB8\xE8\xD2\xF4\xC1\xBF\xA3\xAC\xC8\xB7\xC8\xCF\xBA\xEC\xC9\xAB\xD0\xC5\xCF\xA2"  // 歌音量，确认红色信息
    "\xCE\xDE\xCE\xF3\xBA\xF3\xB9\xD8\xB1\xD5\xB1\xBE\xB4\xB0\xBF\xDA\xA3\xAC\xB3\xCC"  // 无误后关闭本窗口，程
    "\xD0\xF2\xBD\xAB\xB8\xF9\xBE\xDD\xCB\xF9\xD1\xA1\xBD\xD7\xB6\xCE\xCA\xCA\xBA\xCF"  // 序将根据所选阶段适合
    "\xB5\xC4\xD2\xF4\xC1\xBF\xBD\xF8\xD0\xD0\xB5\xF7\xD5\xFB\xA1\xA3";  // 的音量进行调整。

// "宋体" where it is installed; otherwise another CJK serif face at the same height.
QFont PromptFont(int pixelHeight) {
    QFont font;
    font.setFamilies({QString::fromUtf8("宋体"), QStringLiteral("SimSun"),
                      QStringLiteral("NSimSun"), QStringLiteral("AR PL UMing CN"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Source Han Serif SC")});
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pixelHeight);
    font.setWeight(QFont::Normal);
    return font;
}

GbkLabel* MakePromptLabel(QWidget* parent, const char* name, QRect rect, int pixelHeight) {
    auto* label = new GbkLabel(parent);
    label->setObjectName(QString::fromUtf8(name));
    label->setGeometry(rect);
    label->setWordWrap(true);
    label->setFont(PromptFont(pixelHeight));
    return label;
}

}  // namespace

VolumePromptDialog::VolumePromptDialog(QWidget* parent, const MainWindowOperations& window,
                                       StagePlayer& player)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      selectionLabel_(MakePromptLabel(this, "标签1", QRect(3, 6, 260, 21), 12)),
      instructionLabel_(MakePromptLabel(this, "标签2", QRect(3, 24, 260, 70), 16)) {
    setWindowTitle(QString::fromUtf8("提示"));
    setWindowModality(Qt::ApplicationModal);
    selectionLabel_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette red = selectionLabel_->palette();
    red.setColor(QPalette::WindowText, QColor(255, 0, 0));
    selectionLabel_->setPalette(red);
    instructionLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    OuterSize::Keep(this, kOuterSize);

    const int stage = window.Selection(SelectionList::Stage);
    if (stage >= 0 && stage <= 2) player.PlayStageTrack(stage);

    std::string selection(kDeviceCaption);
    selection += window.ItemText(SelectionList::Device, window.Selection(SelectionList::Device));
    selection += kStageCaption;
    selection += window.ItemText(SelectionList::Stage, stage);
    selectionLabel_->setGbkText(selection);
    instructionLabel_->setGbkText(kInstruction);
}

void VolumePromptDialog::keyPressEvent(QKeyEvent* event) {
    // Closing the window is the only way on; a key must not close or accept it.
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

VolumePromptWindow::VolumePromptWindow(QWidget* parent, const MainWindowOperations& window,
                                       StagePlayer& player)
    : parent_(parent), window_(window), player_(player) {}

void VolumePromptWindow::ShowModal() {
    VolumePromptDialog dialog(parent_, window_, player_);
    dialog.exec();
}

}  // namespace velmira
