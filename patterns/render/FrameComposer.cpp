#include "patterns/render/FrameComposer.h"

#include "patterns/render/DeviceGrid.h"

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

struct Gap
{
    int first;
    int end;
};

// Part of a row as it is written, in one colour.
using Piece = GraphicElement::Run;

} // namespace

void FrameComposer::compose(QImage &target, QRgb background, const std::vector<GraphicElement *> &elements,
    double twipsPerPixelX, double twipsPerPixelY)
{
    const int w = target.width();
    const int h = target.height();
    if (w == 0 || h == 0)
        return;
    std::vector<std::unique_ptr<GraphicElement::RowWalker>> walkers;
    for (const GraphicElement *element : elements)
        if (element->Visible())
            walkers.push_back(element->rows(target.size(), twipsPerPixelX, twipsPerPixelY));

    const qsizetype bpl = target.bytesPerLine();
    uchar *bits = target.bits();
    std::vector<GraphicElement::Run> runs;
    std::vector<Piece> pieces;
    std::vector<Gap> gaps;
    std::vector<Gap> nextGaps;
    std::vector<GraphicElement::Run> previousRuns;
    for (int y = 0; y < h; ++y) {
        runs.clear();
        for (const auto &walker : walkers)
            if (y >= walker->firstRow && y < walker->endRow)
                walker->runs(y, runs);
        // Runs painted one right after the other in one colour, touching or overlapping, are one run.
        size_t kept = 0;
        for (const GraphicElement::Run &run : runs) {
            if (run.end <= run.first)
                continue;
            GraphicElement::Run &last = runs[kept ? kept - 1 : 0];
            if (kept && last.color == run.color && run.first <= last.end && run.end >= last.first) {
                last.first = std::min(last.first, run.first);
                last.end = std::max(last.end, run.end);
            } else {
                runs[kept++] = run;
            }
        }
        runs.resize(kept);

        auto *row = reinterpret_cast<QRgb *>(bits + y * bpl);
        // A row painted like the one above is that row again.
        if (y > 0 && runs == previousRuns) {
            std::memcpy(row, bits + (y - 1) * bpl, size_t(w) * sizeof(QRgb));
            continue;
        }
        previousRuns = runs;

        // Topmost first: each run takes only the gaps that nothing above it has covered.
        pieces.clear();
        gaps.assign(1, { 0, w });
        for (auto run = runs.rbegin(); run != runs.rend() && !gaps.empty(); ++run) {
            const int first = std::max(run->first, 0);
            const int end = std::min(run->end, w);
            if (first >= end)
                continue;
            nextGaps.clear();
            for (const Gap &gap : gaps) {
                if (gap.end <= first || gap.first >= end) {
                    nextGaps.push_back(gap);
                    continue;
                }
                const int from = std::max(gap.first, first);
                const int to = std::min(gap.end, end);
                pieces.push_back({ from, to, run->color });
                if (gap.first < from)
                    nextGaps.push_back({ gap.first, from });
                if (to < gap.end)
                    nextGaps.push_back({ to, gap.end });
            }
            gaps.swap(nextGaps);
        }
        for (const Gap &gap : gaps)
            pieces.push_back({ gap.first, gap.end, background });

        // Written from left to right, neighbours of one colour joined: the memory sees one plain stream.
        std::sort(
            pieces.begin(), pieces.end(), [](const Piece &a, const Piece &b) { return a.first < b.first; });
        size_t joined = 0;
        for (const Piece &piece : pieces) {
            Piece &last = pieces[joined ? joined - 1 : 0];
            if (joined && last.color == piece.color)
                last.end = piece.end;
            else
                pieces[joined++] = piece;
        }
        pieces.resize(joined);

        for (const Piece &piece : pieces)
            DeviceGrid::fillRun(row + piece.first, piece.end - piece.first, piece.color);
    }
}
