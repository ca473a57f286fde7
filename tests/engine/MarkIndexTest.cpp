// The lines that carry each mark bit follow line insertions and removals:
// random edits and marks, checked against a walk over every line.
#include "ModelSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet::test {
namespace {

TEST(MarkIndexTest, FindAndCountAgreeWithAWalkOverEveryLineAfterRandomEdits)
{
    std::mt19937 random(8122026);
    auto uniform = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    auto model = NewModel();
    const std::string start = "a\nb\nc\nd\ne\nf\ng\nh\n";
    model->InsertAtLineCol(0, 0, start.data(), static_cast<std::int64_t>(start.size()));
    const int bits[] = {VxEdit::kMarkErrorLine, VxEdit::kMarkBreakpoint, VxEdit::kMarkBookmark, 31};
    for (int step = 0; step < 3000; ++step) {
        const std::int32_t line = uniform(0, model->LastLine());
        switch (uniform(0, 4)) {
        case 0:
        case 1:
            model->ToggleMark(line, bits[uniform(0, 3)]);
            break;
        case 2: {
            const std::string text = uniform(0, 1) ? "x\ny\n" : "\n";
            model->InsertAtLineCol(line, uniform(0, std::max(model->LineLength(line), 0)), text.data(),
                                   static_cast<std::int64_t>(text.size()));
            break;
        }
        case 3:
            if (model->LastLine() > 3) {
                const std::int32_t last = std::min(model->LastLine(), line + uniform(0, 3));
                model->DeleteRange(line, uniform(0, std::max(model->LineLength(line), 0)), last, 0);
            }
            break;
        default:
            model->ClearMarkEverywhere(bits[uniform(0, 3)]);
            break;
        }
        for (int bit : bits) {
            std::vector<std::int32_t> marked;
            for (std::int32_t at = 0; at <= model->LastLine(); ++at) {
                if (model->TestMark(at, bit))
                    marked.push_back(at);
            }
            ASSERT_EQ(static_cast<int>(marked.size()), model->CountMarkedLines(bit)) << "step " << step;
            const std::int32_t from = uniform(0, model->LastLine());
            std::int32_t next = -1;
            std::int32_t previous = -1;
            for (std::int32_t at : marked) {
                if (at > from && next < 0)
                    next = at;
                if (at < from)
                    previous = at;
            }
            if (!marked.empty()) {
                next = next < 0 ? marked.front() : next;
                previous = previous < 0 ? marked.back() : previous;
            }
            ASSERT_EQ(next, model->FindMarkedLine(from, bit, true)) << "step " << step << " bit " << bit;
            ASSERT_EQ(previous, model->FindMarkedLine(from, bit, false)) << "step " << step << " bit " << bit;
        }
    }
}

}  // namespace
}  // namespace quillet::test
