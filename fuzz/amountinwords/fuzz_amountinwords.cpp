#include "fuzztext.h"
#include "util.h"

#include <array>
#include <cmath>
#include <cstring>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

constexpr qint64 Largest = 999'999'999'999;

struct Word
{
    const char16_t *text;
    qint64 value;
    enum Kind { Ones, Tens, TensPrefix, TensAlone, Hundred, Scale } kind;
};

// Every word the amounts are made of. Longer words first where one begins another (hatvan before hat).
const std::array<Word, 24> &Words()
{
    static const std::array<Word, 24> words{{
        {u"milliárd", 1'000'000'000, Word::Scale},
        {u"millió", 1'000'000, Word::Scale},
        {u"ezer", 1'000, Word::Scale},
        {u"száz", 100, Word::Hundred},
        {u"tizen", 10, Word::TensPrefix},
        {u"huszon", 20, Word::TensPrefix},
        {u"tíz", 10, Word::TensAlone},
        {u"húsz", 20, Word::TensAlone},
        {u"harminc", 30, Word::Tens},
        {u"negyven", 40, Word::Tens},
        {u"ötven", 50, Word::Tens},
        {u"hatvan", 60, Word::Tens},
        {u"hetven", 70, Word::Tens},
        {u"nyolcvan", 80, Word::Tens},
        {u"kilencven", 90, Word::Tens},
        {u"egy", 1, Word::Ones},
        {u"kettő", 2, Word::Ones},
        {u"három", 3, Word::Ones},
        {u"négy", 4, Word::Ones},
        {u"öt", 5, Word::Ones},
        {u"hat", 6, Word::Ones},
        {u"hét", 7, Word::Ones},
        {u"nyolc", 8, Word::Ones},
        {u"kilenc", 9, Word::Ones},
    }};
    return words;
}

// Reads the words back into the number, -1 when they are not well-formed Hungarian: a blank only after "ezer" or
// "millió", "tizen" and "huszon" only before a ones word and "tíz" and "húsz" never, "száz" only after a ones word,
// scales in falling order.
qint64 ValueOfWords(QStringView text, bool &negative)
{
    negative = text.startsWith(u"mínusz ");
    if (negative)
        text = text.mid(7);
    if (text == u"nulla")
        return negative ? -1 : 0;
    qint64 total = 0, group = 0, lastScale = Largest + 1;
    const Word *previous = nullptr;
    while (!text.isEmpty()) {
        if (text.startsWith(u' ')) {
            if (!previous || previous->kind != Word::Scale || previous->value == 1'000'000'000)
                return -1;
            text = text.mid(1);
            continue;
        }
        const Word *found = nullptr;
        for (const Word &w : Words()) {
            const QStringView word(w.text);
            if (text.startsWith(word)) {
                found = &w;
                break;
            }
        }
        if (!found)
            return -1;
        text = text.mid(QStringView(found->text).size());
        const Word::Kind before = previous ? previous->kind : Word::Scale;
        if (before == Word::TensPrefix && found->kind != Word::Ones)
            return -1;
        if (before == Word::TensAlone && found->kind == Word::Ones)
            return -1;
        switch (found->kind) {
        case Word::Ones:
            if (group % 10 != 0)
                return -1;
            group += found->value;
            break;
        case Word::Tens:
        case Word::TensPrefix:
        case Word::TensAlone:
            if (group % 100 != 0)
                return -1;
            group += found->value;
            break;
        case Word::Hundred:
            if (!previous || previous->kind != Word::Ones || group >= 10)
                return -1;
            group *= 100;
            break;
        case Word::Scale:
            if (group == 0 || found->value >= lastScale)
                return -1;
            total += group * found->value;
            lastScale = found->value;
            group = 0;
            break;
        }
        previous = found;
    }
    if (previous && previous->kind == Word::TensPrefix)
        return -1;
    return total + group;
}

} // namespace

// The words printed on a cash voucher say the amount: read back, they give the amount rounded as the voucher rounds
// it (positive halves up, negative ones to even), and they are well-formed Hungarian.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    double value;
    if (input.ConsumeBool()) {
        value = input.ConsumeFloatingPointInRange<double>(-1.1e12, 1.1e12);
        if (input.ConsumeBool())
            value = std::round(value * 2) / 2; // halves are where rounding goes wrong
    } else {
        const auto bits = input.ConsumeIntegral<quint64>();
        std::memcpy(&value, &bits, sizeof value);
    }
    const QString words = AmountInWords(value);
    double magnitude = std::nearbyint(std::fabs(value));
    if (value - magnitude == 0.5)
        magnitude += 1;
    if (!std::isfinite(value) || magnitude > double(Largest)) {
        Require(words.isEmpty(), "beyond the range the words are empty");
        return 0;
    }
    bool negative = false;
    const qint64 read = ValueOfWords(words, negative);
    Require(read >= 0, "the words are well-formed");
    Require(read == qint64(magnitude), "the words say the rounded amount");
    Require(negative == (value < 0 && read != 0), "a negative amount and only that says mínusz");
    return 0;
}
