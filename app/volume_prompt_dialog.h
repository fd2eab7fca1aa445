#pragma once

#include <QDialog>

#include "run/volume_prompt.h"

namespace velmira {

class GbkLabel;
class MainWindowOperations;
class StagePlayer;

// The "提示" window: it plays the selected stage's track and names the device and
// stage while the user sets a normal listening level. It has no buttons; closing
// it is the only way out, and Esc and Enter do nothing.
class VolumePromptDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr QSize kOuterSize{269, 122};

    // Runs the created sequence: plays the track, then fills both labels.
    VolumePromptDialog(QWidget* parent, const MainWindowOperations& window, StagePlayer& player);

    [[nodiscard]] GbkLabel* selectionLabel() const { return selectionLabel_; }
    [[nodiscard]] GbkLabel* instructionLabel() const { return instructionLabel_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    GbkLabel* selectionLabel_;
    GbkLabel* instructionLabel_;
};

// Opens a new prompt, modal, each time it is asked to.
class VolumePromptWindow : public VolumePrompt {
public:
    VolumePromptWindow(QWidget* parent, const MainWindowOperations& window, StagePlayer& player);
    void ShowModal() override;

private:
    QWidget* parent_;
    const MainWindowOperations& window_;
    StagePlayer& player_;
};

}  // namespace velmira
