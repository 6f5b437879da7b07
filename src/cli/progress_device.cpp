#include "cli/progress_device.h"

#include <unistd.h>
#include <cstdio>
#include <cstring>

namespace cli {
namespace {

constexpr qint64 kQuietMs = 2000;  // work shorter than this shows nothing
constexpr qint64 kEveryMs = 250;

}  // namespace

ProgressDevice::ProgressDevice(QIODevice& inner, QIODevice::OpenMode mode, const char* what, qint64 total, bool quiet)
    : inner_(inner), what_(what), total_(total), enabled_(!quiet && ::isatty(STDERR_FILENO)) {
    clock_.start();
    // Reads are taken in pieces (an import reads line by line); writes go through at once.
    open(mode & QIODevice::WriteOnly ? mode | QIODevice::Unbuffered : mode);
}

ProgressDevice::~ProgressDevice() {
    if (shown_) std::fputs("\r\033[K", stderr);
}

qint64 ProgressDevice::readData(char* data, qint64 maxSize) {
    const qint64 n = inner_.read(data, maxSize);
    if (n > 0) {
        bytes_ += n;
        show();
    } else if (shown_ && !saying_ && maxSize > 0 && inner_.atEnd()) {
        // Everything is read; the cases go into the database now, which also takes its time.
        saying_ = true;
        std::fprintf(stderr, "\r\033[Kqinglan-cli %s: all %.1f MB read, saving", what_, bytes_ / 1048576.0);
        std::fflush(stderr);
    }
    return n;
}

qint64 ProgressDevice::writeData(const char* data, qint64 size) {
    const qint64 n = inner_.write(data, size);
    if (n > 0) {
        bytes_ += n;
        for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', data + n - p))); ++p) ++lines_;
        show();
    } else {
        setErrorString(inner_.errorString());
    }
    return n;
}

void ProgressDevice::show() {
    if (!enabled_ || saying_) return;
    const qint64 now = clock_.elapsed();
    if (now < kQuietMs || now - lastShownMs_ < kEveryMs) return;
    lastShownMs_ = now;
    shown_ = true;
    const double mb = bytes_ / 1048576.0;
    if (openMode() & QIODevice::WriteOnly)
        std::fprintf(stderr, "\r\033[Kqinglan-cli %s: %lld cases written (%.1f MB)", what_,
                     static_cast<long long>(lines_), mb);
    else if (total_ > 0)
        std::fprintf(stderr, "\r\033[Kqinglan-cli %s: %d%% read (%.1f of %.1f MB)", what_,
                     static_cast<int>(bytes_ * 100 / total_), mb, total_ / 1048576.0);
    else
        std::fprintf(stderr, "\r\033[Kqinglan-cli %s: %.1f MB read", what_, mb);
    std::fflush(stderr);
}

}  // namespace cli
