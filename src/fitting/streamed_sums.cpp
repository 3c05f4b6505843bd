#include "fitting/streamed_sums.h"

#include "exact/point_summer.h"
#include "toolkit/conversions.h"
#include "toolkit/errors.h"
#include "toolkit/message_text.h"

#include <array>
#include <future>
#include <utility>
#include <vector>

namespace {

constexpr size_t kBatchPoints = 16384;

struct Batch {
    std::vector<PointFields> points;
    std::vector<int> lines;
};

void sumBatch(const Batch& batch, PointSummer& summer) {
    static constexpr const char* names[] = {"x", "f(x)", "w"};
    for (size_t k = 0; k < batch.points.size(); ++k) {
        const PointFields& point = batch.points[k];
        if (IsBlank(point[0]) && IsBlank(point[1]) && IsBlank(point[2]))
            continue;
        const ExactPoint read = exactPoint(point[0], point[1], point[2]);
        if (const int col = read.unreadColumn(); col >= 0)
            throw Exception("Line " + IntToStr(batch.lines[k]) + ", " + names[col] + " is " +
                            quotedText(point[size_t(col)]) +
                            (col == 2 ? ": a weight is a number above 0, of at most "
                                      : ": least squares reads numbers of at most ") +
                            IntToStr(kMaxExactDigits) + " significant digits, from 1E-" +
                            IntToStr(kMaxExactExponent) + " to 1E" + IntToStr(kMaxExactExponent) +
                            ".");
        summer.add(*read.x, *read.y, *read.w);
    }
}

// Batches summed as they come, in turn on two other threads, each into
// its own sums; waiting for them in the order they came, so that the first
// refused line is the one reported.
class BatchSummers {
  public:
    explicit BatchSummers(int degree) : degree(degree) { startOver(); }

    void add(Batch batch) {
        Turn& turn = turns[next++ % turns.size()];
        if (turn.summing.valid())
            turn.summing.get();
        turn.summing =
            std::async(std::launch::async, [&summer = turn.summer, batch = std::move(batch)] {
                sumBatch(batch, summer);
            });
    }
    // Every batch summed, or the first refusal raised.
    void finish() {
        for (size_t k = 0; k < turns.size(); ++k)
            if (Turn& turn = turns[(next + k) % turns.size()]; turn.summing.valid())
                turn.summing.get();
    }
    void startOver() {
        finish();
        for (Turn& turn : turns)
            turn.summer = PointSummer(degree, true);
    }
    PointSummer total() {
        finish();
        PointSummer all = turns[0].summer;
        for (size_t k = 1; k < turns.size(); ++k)
            all.add(turns[k].summer);
        return all;
    }

  private:
    struct Turn {
        PointSummer summer{0, true};
        std::future<void> summing;
    };
    int degree;
    std::array<Turn, 2> turns;
    size_t next = 0;
};

} // namespace

StreamedSums streamedSums(const std::string& path, int degree,
                          const std::function<void(size_t points)>& read) {
    size_t points = 0;
    BatchSummers summers(degree);
    Batch filling;
    StreamedSums streamed;
    try {
        streamed.file = streamPointFile(
            path,
            [&](PointFields& point, int line) {
                filling.points.push_back(std::move(point));
                filling.lines.push_back(line);
                if (filling.points.size() == kBatchPoints) {
                    summers.add(std::exchange(filling, {}));
                    if (read)
                        read(points += kBatchPoints);
                }
            },
            [&] {
                summers.startOver();
                filling = {};
                points = 0;
            });
        summers.add(std::move(filling));
    } catch (...) {
        summers.finish(); // a line summed before the one that stopped the reading comes first
        throw;
    }
    const PointSummer summer = summers.total();
    auto summed = std::make_shared<SummedPoints>();
    summed->weighted = streamed.file.weighted;
    summed->distinctXs = summer.distinctXs();
    summed->lowestX = summer.lowestX();
    summed->highestX = summer.highestX();
    summed->sums = summer.sums();
    streamed.summed = std::move(summed);
    return streamed;
}
