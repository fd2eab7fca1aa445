#pragma once

#include <QObject>
#include <QSize>

class QWidget;

namespace velmira {

// Keeps a fixed-size top-level window at a given outer size, frame included,
// centred on its screen. Qt's fixed size is the client area, and the frame's
// margins are known only once a window manager has framed the window, so the
// client is shrunk by them then, once.
class OuterSize : public QObject {
    Q_OBJECT

public:
    // Installs itself on `window` (which owns it) and sets the client size.
    static void Keep(QWidget* window, QSize outer);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    OuterSize(QWidget* window, QSize outer);
    void FitToFrame();
    void Centre();

    QWidget* window_;
    QSize outer_;
    bool fitted_ = false;
};

}  // namespace velmira
