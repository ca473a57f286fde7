// The display-line map against a plain reference: random folds, unfolds,
// wrapping, measured heights and random edits with undo and redo reach both;
// every line and display line must then convert the same way. The reference
// knows each line by a number given when it came in, so folds follow their
// lines by identity rather than by arithmetic on line numbers.
#include "ModelSupport.h"

#include "engine/VxEditDisplayLineFollower.h"
#include "engine/VxEditDisplayLineMap.h"
#include "engine/VxEditTextCommand.h"
#include "engine/VxEditTextObserver.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <unordered_map>

namespace quillet::test {
namespace {

class ReferenceMap : public VxEditTextObserver {
public:
    explicit ReferenceMap(VxEdit& model) : model_(model)
    {
        for (int line = 0; line < model.LineCount(); ++line)
            ids_.push_back(next_++);
        model_.Attach(this);
    }
    ~ReferenceMap() override { model_.Detach(this); }

    void OnNewText() override {}
    void OnTextCommand(const VxEditTextCommand& command) override
    {
        const VxEditLineColPair range = command.Range().Normalized();
        const int start = range.start.line;
        const int count = range.end.line - start;
        const int at = range.start.column == 0 ? start : start + 1;
        if (command.LastActionWasInsertion()) {
            std::vector<int> added;
            for (int i = 0; i < count; ++i) {
                added.push_back(next_);
                stale_.insert(next_++);
            }
            ids_.insert(ids_.begin() + at, added.begin(), added.end());
            for (int line = start; line <= range.end.line; ++line)
                stale_.insert(ids_[line]);
            return;
        }
        if (count > 0) {
            const std::set<int> gone(ids_.begin() + at, ids_.begin() + at + count);
            const int before = at > 0 ? ids_[at - 1] : -1;
            ids_.erase(ids_.begin() + at, ids_.begin() + at + count);
            std::vector<std::pair<int, int>> kept;
            const auto positions = Positions();
            for (auto [first, last] : folds_) {
                if (gone.count(first))
                    continue;
                if (gone.count(last))
                    last = before;
                if (positions.at(last) > positions.at(first))
                    kept.emplace_back(first, last);
            }
            folds_ = kept;
        }
        stale_.insert(ids_[start]);
    }

    int Lines() const { return static_cast<int>(ids_.size()); }
    int Position(int id) const { return static_cast<int>(std::find(ids_.begin(), ids_.end(), id) - ids_.begin()); }
    std::unordered_map<int, int> Positions() const
    {
        std::unordered_map<int, int> positions;
        for (int line = 0; line < Lines(); ++line)
            positions[ids_[line]] = line;
        return positions;
    }
    // Whether each line is hidden: covered by a fold past its first line.
    std::vector<bool> HiddenLines() const
    {
        const auto positions = Positions();
        std::vector<int> starts(ids_.size() + 1, 0);
        for (auto [first, last] : folds_) {
            ++starts[static_cast<std::size_t>(positions.at(first)) + 1];
            --starts[static_cast<std::size_t>(positions.at(last)) + 1];
        }
        std::vector<bool> hidden(ids_.size());
        int depth = 0;
        for (std::size_t line = 0; line < ids_.size(); ++line)
            hidden[line] = (depth += starts[line]) > 0;
        return hidden;
    }
    int Height(int line) const
    {
        auto found = heights_.find(ids_[line]);
        return wrapping_ && found != heights_.end() ? found->second : 1;
    }
    bool Stale(int line) const { return wrapping_ && stale_.count(ids_[line]) > 0; }
    std::vector<VxEditFold> Folds() const
    {
        std::vector<VxEditFold> folds;
        const auto positions = Positions();
        for (auto [first, last] : folds_)
            folds.push_back({positions.at(first), positions.at(last)});
        std::sort(folds.begin(), folds.end(), [](auto& a, auto& b) { return a.first < b.first; });
        return folds;
    }

    bool Fold(int first, int last)
    {
        if (first < 0 || last <= first || last >= Lines())
            return false;
        for (auto [f, l] : folds_) {
            if (Position(f) == first)
                return false;
        }
        folds_.emplace_back(ids_[first], ids_[last]);
        return true;
    }
    bool Unfold(int first)
    {
        for (std::size_t i = 0; i < folds_.size(); ++i) {
            if (Position(folds_[i].first) == first) {
                folds_.erase(folds_.begin() + static_cast<std::ptrdiff_t>(i));
                return true;
            }
        }
        return false;
    }
    int Reveal(int line)
    {
        const std::size_t before = folds_.size();
        std::erase_if(folds_, [&](auto fold) { return Position(fold.first) < line && line <= Position(fold.second); });
        return static_cast<int>(before - folds_.size());
    }
    void SetWrapping(bool wrapping)
    {
        if (wrapping == wrapping_)
            return;
        wrapping_ = wrapping;
        heights_.clear();
        stale_ = std::set<int>(ids_.begin(), ids_.end());
    }
    void SetHeight(int line, int rows)
    {
        if (!wrapping_)
            return;
        heights_[ids_[line]] = std::clamp(rows, 1, 0xFFFF);
        stale_.erase(ids_[line]);
    }
    void MarkAllStale() { stale_ = std::set<int>(ids_.begin(), ids_.end()); }
    bool Wrapping() const { return wrapping_; }

private:
    VxEdit& model_;
    std::vector<int> ids_;
    int next_ = 0;
    std::vector<std::pair<int, int>> folds_;  // first and last line by id
    std::map<int, int> heights_;
    std::set<int> stale_;
    bool wrapping_ = false;
};

// Every conversion of the map against the reference.
void ExpectSame(const VxEditDisplayLineMap& map, const ReferenceMap& reference, int step)
{
    SCOPED_TRACE("step " + std::to_string(step));
    ASSERT_EQ(reference.Lines(), map.LineCount());
    const std::vector<bool> hiddenLines = reference.HiddenLines();
    ASSERT_EQ(reference.Folds(), map.Folds());
    ASSERT_EQ(reference.Folds().empty() && !reference.Wrapping(), map.IsIdentity());
    std::vector<VxEditDisplayLineMap::Place> places;
    std::int64_t display = 0;
    std::int64_t shown = 0;  // the first display line of the last visible line
    for (int line = 0; line < reference.Lines(); ++line) {
        const bool hidden = hiddenLines[static_cast<std::size_t>(line)];
        const int rows = hidden ? 0 : reference.Height(line);
        if (!hidden)
            shown = display;
        ASSERT_EQ(hidden, map.IsHidden(line)) << "line " << line;
        ASSERT_EQ(rows, map.Rows(line)) << "line " << line;
        ASSERT_EQ(reference.Height(line), map.Height(line)) << "line " << line;
        ASSERT_EQ(reference.Stale(line), map.IsStale(line)) << "line " << line;
        ASSERT_EQ(shown, map.DisplayLine(line)) << "line " << line;
        for (int row = 0; row < rows; ++row)
            places.push_back({line, row});
        display += rows;
    }
    ASSERT_EQ(display, map.DisplayLineCount());
    for (std::size_t d = 0; d < places.size(); ++d)
        ASSERT_EQ(places[d], map.PlaceAt(static_cast<std::int64_t>(d))) << "display line " << d;
    ASSERT_EQ(places.back(), map.PlaceAt(display + 5));
    ASSERT_EQ(places.front(), map.PlaceAt(-1));
    // Stepping over visible lines visits them all, in both directions.
    std::vector<int> visible;
    for (int line = 0; line >= 0; line = map.NextVisible(line))
        visible.push_back(line);
    std::vector<int> back;
    for (int line = visible.back(); line >= 0; line = map.PreviousVisible(line))
        back.insert(back.begin(), line);
    ASSERT_EQ(visible, back);
    std::vector<int> expected;
    for (int line = 0; line < reference.Lines(); ++line) {
        if (!hiddenLines[static_cast<std::size_t>(line)])
            expected.push_back(line);
    }
    ASSERT_EQ(expected, visible);
}

std::string Lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "line " + std::to_string(i) + (i % 7 == 0 ? " {\n" : "\n");
    return text;
}

TEST(DisplayLineMap, AgreesWithAPlainReferenceUnderFoldsWrappingAndEditsWithUndo)
{
    std::mt19937 random(11);
    auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto model = NewModel();
    const std::string start = Lines(3000);
    model->InsertAtLineCol(0, 0, start.data(), static_cast<std::int64_t>(start.size()));
    model->ClearHistory();
    VxEditDisplayLineMap map;
    VxEditDisplayLineFollower follower(*model, map);
    map.Reset(model->LineCount());
    ReferenceMap reference(*model);
    const char* const pieces[] = {"\n", "\n", "word", "\r\n", "x\ny\n", "}"};
    int checks = 0;
    for (int step = 0; step < 1200; ++step) {
        const int lines = model->LineCount();
        const int kind = uniform(0, 19);
        if (kind <= 4) {
            const int first = uniform(0, lines - 1);
            // Mostly short ranges, some long enough to cross blocks.
            const int last = std::min(lines - 1, first + (uniform(0, 4) == 0 ? uniform(0, 3000) : uniform(0, 30)));
            ASSERT_EQ(reference.Fold(first, last), map.Fold(first, last));
        } else if (kind == 5) {
            const std::vector<VxEditFold> folds = map.Folds();
            const int first = folds.empty() || uniform(0, 3) == 0 ? uniform(0, lines - 1)
                                                                  : folds[uniform(0, static_cast<int>(folds.size()) - 1)].first;
            ASSERT_EQ(reference.Unfold(first), map.Unfold(first));
        } else if (kind == 6) {
            const int line = uniform(0, lines - 1);
            ASSERT_EQ(reference.Reveal(line), map.Reveal(line));
        } else if (kind == 7) {
            const bool wrapping = uniform(0, 2) != 0;
            reference.SetWrapping(wrapping);
            map.SetWrapping(wrapping);
        } else if (kind == 8 || kind == 9) {
            for (int i = uniform(1, 40); i > 0; --i) {
                const int line = uniform(0, lines - 1);
                const int rows = uniform(0, 9) == 0 ? uniform(-2, 70000) : uniform(1, 4);
                reference.SetHeight(line, rows);
                map.SetHeight(line, rows);
            }
        } else if (kind == 10) {
            if (uniform(0, 3) == 0) {
                reference.MarkAllStale();
                map.MarkAllStale();
            }
            // What is on show is measured first, then what follows.
            if (map.IsWrapping()) {
                const int first = uniform(0, lines - 1);
                const int last = std::min(lines - 1, first + uniform(0, 60));
                const std::vector<bool> hidden = reference.HiddenLines();
                auto due = [&](int line) { return reference.Stale(line) && !hidden[static_cast<std::size_t>(line)]; };
                std::vector<std::int32_t> expected;
                for (int line = first; line <= last; ++line)
                    if (due(line))
                        expected.push_back(line);
                for (int line = last + 1; line < lines; ++line)
                    if (due(line))
                        expected.push_back(line);
                for (int line = 0; line < first; ++line)
                    if (due(line))
                        expected.push_back(line);
                expected.resize(std::min<std::size_t>(expected.size(), 100));
                ASSERT_EQ(expected, map.LinesToMeasure(first, last, 100));
            }
        } else if (kind <= 14) {
            std::string text;
            if (uniform(0, 15) == 0) {
                text = Lines(uniform(1, 2500));
            } else {
                for (int i = uniform(1, 3); i > 0; --i)
                    text += pieces[uniform(0, 5)];
            }
            const int line = uniform(0, lines - 1);
            const int column = uniform(0, 1) ? 0 : uniform(0, model->LineLength(line));
            model->InsertAtLineCol(line, model->SnapColumn(line, column), text.data(),
                                   static_cast<std::int64_t>(text.size()));
        } else if (kind <= 16) {
            const int line = uniform(0, lines - 1);
            const int end = std::min(lines - 1, line + (uniform(0, 20) == 0 ? uniform(0, 2000) : uniform(0, 3)));
            const int column = uniform(0, 1) ? 0 : uniform(0, model->LineLength(line));
            model->DeleteRange(line, model->SnapColumn(line, column), end,
                               model->SnapColumn(end, uniform(0, model->LineLength(end))));
        } else if (kind <= 18) {
            model->Undo();
        } else {
            model->Redo();
        }
        ASSERT_EQ(model->LineCount(), map.LineCount()) << "step " << step;
        ASSERT_EQ(reference.Folds(), map.Folds()) << "step " << step;
        if (step % 20 == 0) {
            ExpectSame(map, reference, step);
            if (HasFatalFailure())
                return;
            ++checks;
        }
    }
    ExpectSame(map, reference, -1);
    EXPECT_EQ(60, checks);
}

TEST(DisplayLineMap, HoldsNothingUntilSomethingIsFoldedOrWrapped)
{
    VxEditDisplayLineMap map(2'000'000);
    EXPECT_TRUE(map.IsIdentity());
    EXPECT_LT(map.BytesUsed(), 256u);
    EXPECT_EQ(1'234'567, map.DisplayLine(1'234'567));
    EXPECT_EQ((VxEditDisplayLineMap::Place{1'234'567, 0}), map.PlaceAt(1'234'567));
    for (int first = 0; first + 100 < 2'000'000; first += 200)
        ASSERT_TRUE(map.Fold(first, first + 100));
    EXPECT_FALSE(map.IsIdentity());
    EXPECT_LE(map.BytesUsed(), 16u * 2'000'000);
    EXPECT_EQ(2'000'000 - 10'000 * 100, map.DisplayLineCount());
    EXPECT_EQ(100'001, map.DisplayLine(200'101));
    // Hidden lines show on their fold's first line.
    EXPECT_EQ(100'000, map.DisplayLine(200'100));
    EXPECT_EQ(100'000, map.DisplayLine(200'001));
    EXPECT_EQ((VxEditDisplayLineMap::Place{200'101, 0}), map.PlaceAt(100'001));
    map.UnfoldAll();
    EXPECT_TRUE(map.IsIdentity());
    map.SetWrapping(true);
    EXPECT_EQ(1, map.LinesToMeasure(1, 1, 5).front());
    map.SetWrapping(false);
    EXPECT_TRUE(map.IsIdentity());
}

}  // namespace
}  // namespace quillet::test
