#include "casting/random_source.h"

#include "casting/line_values.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define QINGLAN_HAS_CPUID 1
#endif

namespace casting {

QString cpuVendor() {
#ifdef QINGLAN_HAS_CPUID
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx)) return {};
    char vendor[12];
    std::memcpy(vendor, &ebx, 4);
    std::memcpy(vendor + 4, &edx, 4);
    std::memcpy(vendor + 8, &ecx, 4);
    return QString::fromLatin1(vendor, 12);
#else
    return {};
#endif
}

quint32 cpuFeatures() {
#ifdef QINGLAN_HAS_CPUID
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return 0;
    return ecx;
#else
    return 0;
#endif
}

bool hasCpuRdrand() { return cpuVendor().contains(QStringLiteral("Intel")) && (cpuFeatures() >> 30 & 1u); }

#if defined(__x86_64__)
__attribute__((target("rdrnd"))) static std::optional<quint32> rdrandStep() {
    unsigned value = 0;
    if (_rdrand32_step(&value)) return value;
    return std::nullopt;
}
#endif

std::optional<quint32> rdrand32() {
#if defined(__x86_64__)
    if (cpuFeatures() >> 30 & 1u) return rdrandStep();
#endif
    return std::nullopt;
}

quint32 PseudoRandom::below(quint32 n) {
    seed_ = seed_ * 134775813u + 1u;
    return quint32((quint64(seed_) * n) >> 32);
}

quint32 counterSeed() { return quint32(std::chrono::steady_clock::now().time_since_epoch().count()); }

int lineValueOfBits(int bits) { return lineValueOfCoins({bits & 1, bits >> 1 & 1, bits >> 2 & 1}); }

int yarrowValueOfBits(int bits) {
    if (bits <= 0) return 4;
    if (bits <= 3) return 3;
    if (bits <= 10) return 2;
    return 1;
}

RandomSource::RandomSource(SourceKind kind, RandomPlatform platform) : kind_(kind), platform_(std::move(platform)) {
    if (!platform_.wait) platform_.wait = [] { QThread::msleep(10); };
    // Seeded once here, so that a cast before the first computer cast is not the same in every run.
    reseed();
}

QString RandomSource::sourceText() const {
    switch (kind_) {
    case SourceKind::Hardware: return QCoreApplication::translate("casting::RandomSource", "CPU硬件真随机数可用");
    case SourceKind::Pseudo: return QCoreApplication::translate("casting::RandomSource", "电脑伪随机数可用");
    case SourceKind::None: break;
    }
    return QCoreApplication::translate("casting::RandomSource", "电脑起卦不可用");
}

quint32 RandomSource::hardwareValue() {
    // The instruction may report a transient failure; its register then holds 0, which would
    // always mean 老阴. Retry as the processor makers advise, then stand in with a pseudo draw.
    for (int attempt = 0; attempt < 10; ++attempt)
        if (const std::optional<quint32> value = platform_.hardware()) return *value;
    return pseudo_.below(0xFFFFFFFFu);
}

int RandomSource::drawBits() {
    switch (kind_) {
    case SourceKind::Hardware: return int(hardwareValue() & 7u);
    case SourceKind::Pseudo: return int(pseudo_.below(8));
    case SourceKind::None: break;
    }
    return 0;
}

int RandomSource::drawLineValue() {
    platform_.wait();
    return lineValueOfBits(drawBits());
}

int RandomSource::drawYarrowValue() {
    platform_.wait();
    switch (kind_) {
    case SourceKind::Hardware: return yarrowValueOfBits(int(hardwareValue() & 15u));
    case SourceKind::Pseudo: return yarrowValueOfBits(int(pseudo_.below(16)));
    case SourceKind::None: break;
    }
    return yarrowValueOfBits(0);
}

std::optional<QDate> RandomSource::randomCastDate(const QDate& today) {
    switch (kind_) {
    case SourceKind::Hardware: return today.addDays(-qint64(hardwareValue() % 21901u));
    case SourceKind::Pseudo: return today.addDays(-qint64(pseudo_.below(21900)));
    case SourceKind::None: break;
    }
    return std::nullopt;
}

}  // namespace casting
