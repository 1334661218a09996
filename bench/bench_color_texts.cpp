// How long FormatColorTexts takes, the text work of every pointer move.
#include "sampling/color_texts.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main()
{
    using Clock = std::chrono::steady_clock;
    constexpr int CALLS_PER_ROUND = 1 << 20;
    constexpr int ROUNDS = 7;

    std::size_t checksum = 0;
    std::vector<double> nanosecondsPerCall;
    for (int round = 0; round < ROUNDS; ++round) {
        const auto start = Clock::now();
        for (int i = 0; i < CALLS_PER_ROUND; ++i) {
            // Walk through colours so that every digit path is taken.
            const ColorTexts texts = FormatColorTexts(COLORREF(i) * 2654435761u);
            checksum += texts[TEXT_POVRAY].length + texts[TEXT_RED].length;
        }
        const std::chrono::duration<double, std::nano> spent = Clock::now() - start;
        nanosecondsPerCall.push_back(spent.count() / CALLS_PER_ROUND);
    }
    std::sort(nanosecondsPerCall.begin(), nanosecondsPerCall.end());
    std::printf("FormatColorTexts: %d rounds of %d calls\n", ROUNDS, CALLS_PER_ROUND);
    std::printf("  per call: min %.1f ns, median %.1f ns, max %.1f ns (checksum %zu)\n",
                nanosecondsPerCall.front(), nanosecondsPerCall[ROUNDS / 2],
                nanosecondsPerCall.back(), checksum);
    return 0;
}
