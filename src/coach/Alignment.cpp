// Alignment of the practice text with the read-back by edit distance, with a table of the
// choices made, and its three-line picture.
#include "coach/Alignment.h"

#include <algorithm>
#include <cstdint>

#include "coach/Morse.h"

namespace coach {

namespace {
constexpr double kPercent = 100;

// The step that reached a cell of the table.
enum class TStep : uint8_t { stDiagonal, stMissed, stExtra };

// Columns a symbol takes on screen: one for a character of one or more bytes, its length for a
// prosign.
size_t Width(const std::string& symbol) {
    if (symbol.size() > 1 && symbol.front() == '<') {
        return symbol.size();
    }
    return 1;
}

void Pad(std::string& line, const std::string& symbol, size_t width, char fill) {
    line += symbol.empty() ? std::string(1, fill) : symbol;
    const size_t used = symbol.empty() ? 1 : Width(symbol);
    line.append(width - used, ' ');
}
}  // namespace

TAlignment Align(std::string_view practiceText, std::string_view readBack) {
    std::vector<std::string> sent = Symbols(practiceText);
    std::vector<std::string> read = Symbols(readBack);
    TAlignment alignment;
    if (sent.size() > kMaxAlignedSymbols || read.size() > kMaxAlignedSymbols) {
        alignment.Cut = true;
        sent.resize(std::min(sent.size(), kMaxAlignedSymbols));
        read.resize(std::min(read.size(), kMaxAlignedSymbols));
    }
    // The table is filled over the reversed texts and walked back from their ends, that is
    // from the start of the texts, taking a match whenever it costs no more: of alignments that
    // cost the same, the one that matches early symbols wins, so a sending that stops early has
    // missed the end of the text, and one that starts late (costing the start) its start.
    std::reverse(sent.begin(), sent.end());
    std::reverse(read.begin(), read.end());
    const size_t n = sent.size();
    const size_t m = read.size();
    alignment.SentCount = n;
    // Costs row by row; the steps of every cell for the way back.
    std::vector<uint32_t> previous(m + 1);
    std::vector<uint32_t> row(m + 1);
    std::vector<TStep> steps((n + 1) * (m + 1), TStep::stDiagonal);
    for (size_t j = 0; j <= m; ++j) {
        previous[j] = static_cast<uint32_t>(j);
        steps[j] = TStep::stExtra;
    }
    for (size_t i = 1; i <= n; ++i) {
        row[0] = static_cast<uint32_t>(i);
        steps[i * (m + 1)] = TStep::stMissed;
        for (size_t j = 1; j <= m; ++j) {
            const uint32_t diagonal = previous[j - 1] + (sent[i - 1] == read[j - 1] ? 0 : 1);
            const uint32_t missed = previous[j] + 1;
            const uint32_t extra = row[j - 1] + 1;
            TStep step = TStep::stDiagonal;
            uint32_t best = diagonal;
            if (missed < best) {
                best = missed;
                step = TStep::stMissed;
            }
            if (extra < best) {
                best = extra;
                step = TStep::stExtra;
            }
            row[j] = best;
            steps[i * (m + 1) + j] = step;
        }
        std::swap(previous, row);
    }
    alignment.Distance = previous[m];

    size_t i = n;
    size_t j = m;
    while (i > 0 || j > 0) {
        const TStep step = i == 0   ? TStep::stExtra
                           : j == 0 ? TStep::stMissed
                                    : steps[i * (m + 1) + j];
        switch (step) {
            case TStep::stDiagonal: {
                const bool same = sent[i - 1] == read[j - 1];
                alignment.Columns.push_back(
                    {sent[i - 1], read[j - 1], same ? TAlignMark::amMatch : TAlignMark::amWrong});
                alignment.Wrong += same ? 0 : 1;
                --i;
                --j;
                break;
            }
            case TStep::stMissed:
                alignment.Columns.push_back({sent[i - 1], "", TAlignMark::amMissed});
                ++alignment.Missed;
                --i;
                break;
            case TStep::stExtra:
                alignment.Columns.push_back({"", read[j - 1], TAlignMark::amExtra});
                ++alignment.Extra;
                --j;
                break;
        }
    }
    if (n == 0) {
        alignment.AccuracyPercent = m == 0 ? kPercent : 0;
    } else {
        const size_t right = n > alignment.Distance ? n - alignment.Distance : 0;
        alignment.AccuracyPercent = static_cast<double>(right) / static_cast<double>(n) * kPercent;
    }
    return alignment;
}

TAlignmentLines AlignmentLines(const TAlignment& alignment) {
    TAlignmentLines lines;
    for (const TAlignedSymbol& column : alignment.Columns) {
        const size_t width = std::max(column.Sent.empty() ? 1 : Width(column.Sent),
                                      column.Read.empty() ? 1 : Width(column.Read));
        Pad(lines.Sent, column.Sent, width, '_');
        Pad(lines.Read, column.Read, width, '_');
        char mark = ' ';
        switch (column.Mark) {
            case TAlignMark::amMatch:
                mark = ' ';
                break;
            case TAlignMark::amWrong:
                mark = '~';
                break;
            case TAlignMark::amMissed:
                mark = '-';
                break;
            case TAlignMark::amExtra:
                mark = '+';
                break;
        }
        lines.Marks += mark;
        lines.Marks.append(width - 1, ' ');
    }
    return lines;
}

}  // namespace coach
