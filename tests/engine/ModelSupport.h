#pragma once

#include "engine/VxEdit.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditUtf8.h"
#include "mvc/IMessage.h"
#include "mvc/IObserver.h"
#include "mvc/ISubject.h"
#include "mvc/VxEditMsg.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace quillet::test {

using ModelRef = tarrow::foundation::RefPtr<VxEdit>;

// A fresh model holding the "Default" configuration and an empty text.
template <class Model = VxEdit>
tarrow::foundation::RefPtr<Model> NewModel()
{
    auto model = tarrow::foundation::MakeRef<Model>();
    model->NewText();
    return model;
}

inline std::string AllText(VxEdit& model)
{
    const VxEditTextBuffer& buffer = model.TextBuffer();
    std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
    buffer.CopyOut(text.data(), 0, buffer.Length());
    return text;
}

inline std::string LineOf(VxEdit& model, int line)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    model.LineText(line, text, length);
    return std::string(text ? text : "", static_cast<std::size_t>(length));
}

// A plain reading of a text: lines end after LF, content stops at CR or LF.
struct ReferenceLines {
    explicit ReferenceLines(const std::string& text) : text(text)
    {
        starts.push_back(0);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n')
                starts.push_back(static_cast<std::int64_t>(i + 1));
        }
    }
    int Count() const { return static_cast<int>(starts.size()); }
    std::int64_t End(int line) const
    {
        return line + 1 < Count() ? starts[line + 1] : static_cast<std::int64_t>(text.size());
    }
    // Up to the line's LF and a CR right before it; other CRs are content.
    std::int64_t Content(int line) const
    {
        std::int64_t end = End(line);
        if (line + 1 < Count()) {
            --end;
            if (end > starts[line] && text[end - 1] == '\r')
                --end;
        }
        return end - starts[line];
    }
    VxEditLineCol Position(std::int64_t offset) const
    {
        const int line = static_cast<int>(std::upper_bound(starts.begin(), starts.end(), offset) - starts.begin()) - 1;
        return VxEditLineCol(line, static_cast<int>(offset - starts[line]));
    }

    const std::string& text;
    std::vector<std::int64_t> starts;
};

// Display cells of a line's content with tabs of the given size, counted
// the plain way: tab to the next stop, wide characters 2, others 1.
inline int ReferenceWidth(const std::string& content, int tabSize)
{
    int cells = 0;
    for (std::size_t at = 0; at < content.size();) {
        if (content[at] == '\t') {
            cells += tabSize - cells % tabSize;
            ++at;
            continue;
        }
        int length = 1;
        const std::uint32_t code = VxEditUtf8::Decode(content.data() + at, content.size() - at, &length);
        cells += length > 1 ? VxEditUtf8::CellWidth(code) : 1;
        at += static_cast<std::size_t>(length);
    }
    return cells;
}

// Records every message a model sends, as ids and paint ranges.
class RecordingObserver : public tarrow::foundation::IObserver {
public:
    void Update(tarrow::foundation::ISubject*, tarrow::foundation::IMessage* message) override
    {
        ids.push_back(message ? message->GetId() : 0);
        if (auto* paint = dynamic_cast<VxEditPaintMsg*>(message))
            paints.emplace_back(paint->FirstLine(), paint->LastLine());
    }
    std::vector<int> ids;
    std::vector<std::pair<int, int>> paints;
};

}  // namespace quillet::test
