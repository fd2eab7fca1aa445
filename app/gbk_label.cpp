#include "app/gbk_label.h"

#include "app/gbk_codec.h"

namespace velmira {

GbkLabel::GbkLabel(QWidget* parent) : QLabel(parent) { setTextFormat(Qt::PlainText); }

void GbkLabel::setGbkText(std::string_view gbk) {
    gbk_.assign(gbk);
    setText(QString::fromStdString(GbkToUtf8(gbk_)));
}

}  // namespace velmira
