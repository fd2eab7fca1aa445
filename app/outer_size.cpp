#include "app/outer_size.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace velmira {

void OuterSize::Keep(QWidget* window, QSize outer) { new OuterSize(window, outer); }

OuterSize::OuterSize(QWidget* window, QSize outer)
    : QObject(window), window_(window), outer_(outer) {
    window_->setFixedSize(outer_);
    window_->installEventFilter(this);
    Centre();
}

bool OuterSize::eventFilter(QObject* watched, QEvent* event) {
    if (watched == window_ && !fitted_) {
        switch (event->type()) {
            case QEvent::Show:
            case QEvent::Move:
            case QEvent::Resize:
            case QEvent::WindowActivate:
                FitToFrame();
                break;
            default:
                break;
        }
    }
    return QObject::eventFilter(watched, event);
}

void OuterSize::FitToFrame() {
    const QSize frame = window_->frameGeometry().size();
    const QSize client = window_->geometry().size();
    if (frame == client) return;  // not framed yet, or no window manager at all
    fitted_ = true;
    window_->setFixedSize(outer_ - (frame - client));
    Centre();
}

void OuterSize::Centre() {
    const QScreen* screen =
        window_->screen() ? window_->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->geometry();
    // move() places the frame's top-left corner, so this centres the outer size.
    window_->move(area.x() + (area.width() - outer_.width()) / 2,
                  area.y() + (area.height() - outer_.height()) / 2);
}

}  // namespace velmira
