#include "app/gbk_codec.h"

#include <iconv.h>

#include <cerrno>
#include <memory>
#include <type_traits>

namespace velmira {
namespace {

struct IconvCloser {
    void operator()(iconv_t cd) const { iconv_close(cd); }
};
using Iconv = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

Iconv OpenIconv(const char* to, const char* from) {
    iconv_t cd = iconv_open(to, from);
    return Iconv(cd == reinterpret_cast<iconv_t>(-1) ? nullptr : cd);
}

// Converts as much as iconv takes; on a byte it rejects, appends `replacement`
// and goes on after that byte.
std::string Convert(const Iconv& cd, std::string_view in, std::string_view replacement) {
    std::string out;
    if (!cd) {
        out.assign(in);
        return out;
    }
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        // EILSEQ or EINVAL: one bad byte, replaced, then a fresh shift state.
        out.append(replacement);
        ++inPtr;
        --inLeft;
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
    return Convert(OpenIconv("UTF-8", "CP936"), gbk, "\xEF\xBF\xBD");
}

std::string Utf8ToGbk(std::string_view utf8) {
    // iconv rejects a character it cannot map at its first byte; the remaining
    // bytes of that UTF-8 sequence are rejected one by one too, so skip them.
    const Iconv cd = OpenIconv("CP936", "UTF-8");
    std::string out;
    std::size_t start = 0;
    while (start < utf8.size()) {
        std::size_t end = start + 1;
        while (end < utf8.size() && (static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) ++end;
        const std::string piece = Convert(cd, utf8.substr(start, end - start), "");
        out += piece.empty() ? std::string("?") : piece;
        start = end;
    }
    return out;
}

}  // namespace velmira
