#pragma once
// The random source of the casting dialog: the processor's hardware random instruction where the
// processor offers it, otherwise the pseudo-random generator; one draw becomes a line value.
#include <QDate>
#include <QString>
#include <QtGlobal>
#include <functional>
#include <optional>

namespace casting {

// Processor identification (leaf 0 vendor text, leaf 1 feature word with the hardware-random
// flag in bit 30); empty and 0 where the instruction does not exist.
QString cpuVendor();
quint32 cpuFeatures();
// An Intel processor with the hardware random instruction.
bool hasCpuRdrand();
// One value from the hardware random instruction; none when it reports failure or is missing.
std::optional<quint32> rdrand32();

// The pseudo-random generator: seed := seed × 134775813 + 1 (mod 2^32), the draw below n is the
// upper half of seed × n.
class PseudoRandom {
public:
    explicit PseudoRandom(quint32 seed = 0) : seed_(seed) {}
    quint32 below(quint32 n);
    void setSeed(quint32 seed) { seed_ = seed; }
    quint32 seed() const { return seed_; }

private:
    quint32 seed_;
};

// The low 32 bits of the high-resolution counter: what re-seeding takes.
quint32 counterSeed();

enum class SourceKind { Hardware, Pseudo, None };

// Where the draws come from; tests replace the platform parts.
struct RandomPlatform {
    std::function<std::optional<quint32>()> hardware = rdrand32;
    std::function<quint32()> seed = counterSeed;
    std::function<void()> wait;  // the 10 ms pause before each line draw; QThread::msleep when unset
};

class RandomSource {
public:
    // Chooses the source as the dialog does at creation: the hardware source on an Intel
    // processor that has it, otherwise the pseudo generator.
    static SourceKind chosenKind() { return hasCpuRdrand() ? SourceKind::Hardware : SourceKind::Pseudo; }
    explicit RandomSource(SourceKind kind = chosenKind(), RandomPlatform platform = RandomPlatform());

    SourceKind kind() const { return kind_; }
    bool available() const { return kind_ != SourceKind::None; }
    // "CPU硬件真随机数可用", "电脑伪随机数可用" or "电脑起卦不可用".
    QString sourceText() const;

    void reseed() { pseudo_.setSeed(platform_.seed()); }
    PseudoRandom& pseudo() { return pseudo_; }

    // Three coins as three bits (1 = 花): 0..7.
    int drawBits();
    // Waits, then throws three coins: 4 老阴, 1 少阳, 2 少阴, 3 老阳 with 1/8, 3/8, 3/8, 1/8.
    int drawLineValue();
    // Waits as drawLineValue does, then takes four bits for the yarrow odds (蓍草).
    int drawYarrowValue();
    // Today minus a random number of days: 0..21900 from the hardware, 0..21899 from the
    // pseudo generator; none without a source (the cast date then stays as it is).
    std::optional<QDate> randomCastDate(const QDate& today);

private:
    // A hardware value; after repeated failures a pseudo draw stands in.
    quint32 hardwareValue();

    SourceKind kind_;
    RandomPlatform platform_;
    PseudoRandom pseudo_;
};

// The line value of three coin bits: 0 → 4, one bit → 1, two bits → 2, three bits → 3.
int lineValueOfBits(int bits);
// The line value of four bits (0..15) under the yarrow odds: 老阴 1/16 (0), 老阳 3/16 (1..3),
// 少阴 7/16 (4..10), 少阳 5/16 (11..15).
int yarrowValueOfBits(int bits);

}  // namespace casting
