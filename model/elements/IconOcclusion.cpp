#include "model/elements/IconOcclusion.h"

#include <algorithm>
#include <cstdint>

namespace {

using Word = uint64_t;
const int kBits = 64;

// The painted pixels of a rectangle of the window, one bit each, row by row.
class CoverMask {
public:
    CoverMask(long long left, long long top, long long right, long long bottom)
        : left(left), top(top),
          wordsPerRow(static_cast<size_t>((right - left + kBits - 1) / kBits)),
          words(wordsPerRow * static_cast<size_t>(bottom - top), 0) {}

    // Whether every pixel of the columns a .. b - 1 of the rows c .. d - 1 is painted.
    bool Covered(long long a, long long b, long long c, long long d) const {
        for (long long y = c; y < d; y++) {
            const Word* row = &words[static_cast<size_t>(y - top) * wordsPerRow];
            if (!EachWord(a, b, [row](long long w, Word bits) { return (row[w] & bits) == bits; }))
                return false;
        }
        return true;
    }
    void Cover(long long a, long long b, long long c, long long d) {
        if (a >= b) return;
        for (long long y = c; y < d; y++) {
            Word* row = &words[static_cast<size_t>(y - top) * wordsPerRow];
            EachWord(a, b, [row](long long w, Word bits) {
                row[w] |= bits;
                return true;
            });
        }
    }

private:
    // Calls f (word index in the row, bits) for the words that hold the columns a .. b - 1
    // (a < b) until it returns false; whether it never did.
    template <typename F> bool EachWord(long long a, long long b, F f) const {
        const long long from = a - left, to = b - left;
        const long long first = from / kBits, last = (to - 1) / kBits;
        for (long long w = first; w <= last; w++) {
            const int low = w == first ? static_cast<int>(from % kBits) : 0;
            const int high = w == last ? static_cast<int>((to - 1) % kBits) : kBits - 1;
            if (!f(w, (~Word{0} >> (kBits - 1 - (high - low))) << low)) return false;
        }
        return true;
    }

    long long left, top;
    size_t wordsPerRow;
    std::vector<Word> words;
};

} // namespace

std::vector<char> FindHiddenIcons(const std::vector<IconFootprint>& icons, int windowWidth,
                                  int windowHeight) {
    std::vector<char> hidden(icons.size(), 0);
    // Only the part of the window the icons reach is kept.
    long long left = windowWidth, top = windowHeight, right = 0, bottom = 0;
    for (const IconFootprint& icon : icons) {
        if (icon.width <= 0 || icon.height <= 0) continue;
        left = std::min(left, std::max(0LL, static_cast<long long>(icon.x)));
        top = std::min(top, std::max(0LL, static_cast<long long>(icon.y)));
        right = std::max(right, std::min<long long>(windowWidth, 0LL + icon.x + icon.width));
        bottom = std::max(bottom, std::min<long long>(windowHeight, 0LL + icon.y + icon.height));
    }
    if (right <= left || bottom <= top) return hidden;
    CoverMask mask(left, top, right, bottom);
    for (size_t i = icons.size(); i-- > 0;) {
        const IconFootprint& icon = icons[i];
        if (icon.width <= 0 || icon.height <= 0) continue;
        const long long a = icon.x, b = 0LL + icon.x + icon.width;
        const long long c = icon.y, d = 0LL + icon.y + icon.height;
        const bool inside = a >= 0 && c >= 0 && b <= windowWidth && d <= windowHeight;
        if (inside && mask.Covered(a, b, c, d)) {
            hidden[i] = 1;
            continue;
        }
        if (icon.opaque) {
            mask.Cover(std::max(a, left), std::min(b, right), std::max(c, top),
                       std::min(d, bottom));
        }
    }
    return hidden;
}
