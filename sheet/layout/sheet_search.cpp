#include "sheet/layout/sheet_search.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <iterator>
#include <map>

#include "base/parallel.h"

namespace oz {

namespace {

// The sweep's widths: the square side of the cells' area times these
// sixteenths, from narrow and tall to wide and low; steps of about a tenth,
// or for many cells, whose packings come out about as dense at any width
// and cost more, four steps of about a square root of two (two rounds of
// packings on two cores).
constexpr int64_t kFineSixteenths[] = {4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14,
                                       16, 18, 20, 22, 24, 28, 32, 40, 48, 64};
constexpr int64_t kCoarseSixteenths[] = {11, 16, 23, 32};

// The ways bottom-left packs each width, the one that most often packs
// tightest first. Taking the highest cells first fills each row's height;
// with turning, cells mostly lie with their shorter side up, so taking the
// cells by that side does. Turning a cell where it fits best now can crowd
// the cells after it, so an upright packing is among the ways too.
struct SweepWay {
  PackOrder order;
  bool turn;
};
constexpr SweepWay kUprightWays[] = {{PackOrder::Height, false}, {PackOrder::LongerSide, false}};
constexpr SweepWay kTurningWays[] = {
    {PackOrder::ShorterSide, true}, {PackOrder::LongerSide, true}, {PackOrder::Height, false}};

// How hard the search tries, by how many cells it packs: a packing of many
// cells costs more, and comes out dense with fewer tries. On 500 icons of 8
// to 256 pixels one way instead of all came within 0.1% of the area in a
// fifth of the time; on 10,000 rectangles the coarse widths within 0.1% of
// the fine ones.
struct Effort {
  std::span<const int64_t> sixteenths;
  bool ends;        // the narrowest and the widest bin too
  size_t ways;      // how many of the sweep's ways
  int refinements;  // rounds of widths tried between the best and its neighbours
};

Effort effortFor(size_t cells) {
  if (cells <= 250) return {kFineSixteenths, true, std::size(kTurningWays), 8};
  if (cells <= 2500) return {kFineSixteenths, true, 1, 6};
  return {kCoarseSixteenths, false, 1, 2};
}

struct Candidate {
  std::optional<Packing> packing;
  PackedSheet sheet;
};

// The order of smallestSheet; no packing comes last.
bool better(const Candidate& a, const Candidate& b) {
  if (!a.packing) return false;
  if (!b.packing) return true;
  const auto key = [](const Candidate& c) {
    return std::array<int64_t, 5>{c.sheet.width * c.sheet.height,
                                  std::max(c.sheet.width, c.sheet.height), c.sheet.width,
                                  int64_t{c.packing->width} * c.packing->height, c.packing->width};
  };
  return key(a) < key(b);
}

void keepBetter(Candidate& best, Candidate&& other) {
  if (better(other, best)) best = std::move(other);
}

// The whole square root, the same on every machine: the double square root
// is exact to the last bit, and the steps after it correct its rounding.
int64_t squareRoot(int64_t value) {
  auto root = static_cast<int64_t>(std::sqrt(static_cast<double>(value)));
  while (root * root > value) --root;
  while ((root + 1) * (root + 1) <= value) ++root;
  return root;
}

class Search {
 public:
  Search(std::span<const Cell> cells, bool mayTurn, const SheetBounds& bounds, size_t threads)
      : cells_(cells),
        mayTurn_(mayTurn),
        bounds_(bounds),
        threads_(threads),
        effort_(effortFor(cells.size())) {
    const int32_t limit = bounds_.binLimit();
    int64_t row = 0;
    for (Cell cell : cells_) {
      area_ += int64_t{cell.width} * cell.height;
      row += mayTurn_ ? std::max(cell.width, cell.height) : cell.width;
      // The narrower way of lying that keeps within the bin's height.
      int32_t width = cell.height <= limit ? cell.width : INT32_MAX;
      if (mayTurn_ && cell.width <= limit) width = std::min(width, cell.height);
      leastWidth_ = std::max(leastWidth_, width);
    }
    // Narrower bins than the cells' area over the limit cannot hold them
    // (past the limit, any width past it says so).
    const int64_t byArea = std::min<int64_t>((area_ + limit - 1) / limit, int64_t{limit} + 1);
    leastWidth_ = static_cast<int32_t>(std::max<int64_t>(leastWidth_, byArea));
    mostWidth_ = static_cast<int32_t>(std::min<int64_t>(limit, row));
    const std::span<const SweepWay> all = mayTurn_ ? std::span<const SweepWay>(kTurningWays)
                                                   : std::span<const SweepWay>(kUprightWays);
    ways_ = all.first(std::min(effort_.ways, all.size()));
    for (const SweepWay way : ways_) orders_.push_back(orderCells(cells_, way.order));
  }

  std::optional<Packing> run(std::optional<Packing> known) {
    Candidate best = candidate(std::move(known));
    if (leastWidth_ > mostWidth_) return std::move(best.packing);
    std::map<int32_t, Candidate> byWidth;
    sweep(sweepWidths(), byWidth);
    for (int round = 0; round < effort_.refinements && !bounds_.powerOf2(); ++round) {
      const int32_t width = bestWidth(byWidth);
      if (!byWidth[width].packing) break;  // no width holds them: none between them will
      const std::vector<int32_t> widths = widthsBeside(width, byWidth);
      if (widths.empty()) break;
      sweep(widths, byWidth);
    }
    for (auto& [width, candidate] : byWidth) keepBetter(best, std::move(candidate));
    return std::move(best.packing);
  }

 private:
  Candidate candidate(std::optional<Packing> packing) const {
    Candidate result;
    if (packing) result.sheet = bounds_.sheetFor(packing->width, packing->height);
    result.packing = std::move(packing);
    return result;
  }

  // Runs `task` for each number below `count` on the threads; the results
  // in the tasks' order.
  std::vector<Candidate> runAll(size_t count, const std::function<Candidate(size_t)>& task) const {
    std::vector<Candidate> results(count);
    forEachTask(count, threads_, [&](size_t i, bool) {
      results[i] = task(i);
      return true;
    });
    return results;
  }

  std::vector<int32_t> sweepWidths() const {
    std::vector<int32_t> widths;
    if (bounds_.powerOf2()) {
      for (int32_t bin : bounds_.powerBins()) {
        if (bin < leastWidth_) continue;
        widths.push_back(bin);
        if (bin >= mostWidth_) break;
      }
      return widths;
    }
    if (effort_.ends) widths = {leastWidth_, mostWidth_};
    const int64_t root = squareRoot(area_);
    for (int64_t sixteenths : effort_.sixteenths) {
      widths.push_back(static_cast<int32_t>(
          std::clamp<int64_t>(root * sixteenths / 16, leastWidth_, mostWidth_)));
    }
    std::sort(widths.begin(), widths.end());
    widths.erase(std::unique(widths.begin(), widths.end()), widths.end());
    return widths;
  }

  // Bottom-left packs each width into a bin as high as allowed: it places
  // each cell as low as it can, so the height it reaches is the least it
  // reaches in any bin of that width.
  void sweep(const std::vector<int32_t>& widths, std::map<int32_t, Candidate>& byWidth) const {
    const size_t ways = ways_.size();
    std::vector<Candidate> results = runAll(widths.size() * ways, [&](size_t i) {
      const Cell bin{widths[i / ways], bounds_.binLimit()};
      return candidate(
          packAll(cells_, orders_[i % ways], Fit::BottomLeft, ways_[i % ways].turn, bin));
    });
    for (size_t i = 0; i < results.size(); ++i) {
      keepBetter(byWidth[widths[i / ways]], std::move(results[i]));
    }
  }

  static int32_t bestWidth(const std::map<int32_t, Candidate>& byWidth) {
    auto best = byWidth.begin();
    for (auto it = byWidth.begin(); it != byWidth.end(); ++it) {
      if (better(it->second, best->second)) best = it;
    }
    return best->first;
  }

  // The widths halfway between `width` and the widths tried next to it.
  static std::vector<int32_t> widthsBeside(int32_t width,
                                           const std::map<int32_t, Candidate>& byWidth) {
    std::vector<int32_t> widths;
    const auto at = byWidth.find(width);
    if (at != byWidth.begin()) {
      const int32_t half = std::prev(at)->first + (width - std::prev(at)->first) / 2;
      if (!byWidth.contains(half)) widths.push_back(half);
    }
    if (std::next(at) != byWidth.end()) {
      const int32_t half = width + (std::next(at)->first - width) / 2;
      if (!byWidth.contains(half)) widths.push_back(half);
    }
    return widths;
  }

  std::span<const Cell> cells_;
  bool mayTurn_;
  const SheetBounds& bounds_;
  size_t threads_;
  Effort effort_;
  int64_t area_ = 0;
  int32_t leastWidth_ = 0;                     // the widest any cell needs the bin
  int32_t mostWidth_ = 0;                      // wider bins than this leave the cells as they are
  std::span<const SweepWay> ways_;             // the sweep's, as many as the effort takes
  std::vector<std::vector<uint32_t>> orders_;  // the cells in the order of each way
};

}  // namespace

std::optional<Packing> smallestSheet(std::span<const Cell> cells, bool mayTurn,
                                     const SheetBounds& bounds, std::optional<Packing> known,
                                     size_t threads) {
  return Search(cells, mayTurn, bounds, threads).run(std::move(known));
}

}  // namespace oz
