#pragma once

#include <QLabel>
#include <string>
#include <string_view>

namespace velmira {

// A label whose caption is GBK bytes. It keeps the bytes it was given exactly,
// so what is loaded from a progress file is saved back byte for byte, and
// converts them only to draw.
class GbkLabel : public QLabel {
    Q_OBJECT

public:
    explicit GbkLabel(QWidget* parent = nullptr);

    [[nodiscard]] const std::string& gbkText() const { return gbk_; }
    void setGbkText(std::string_view gbk);

private:
    std::string gbk_;
};

}  // namespace velmira
