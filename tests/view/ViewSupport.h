#pragma once

#include "engine/VxEdit.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditLangConfig.h"
#include "view/CScrivoView.h"

#include <QImage>
#include <QPainter>

#include <memory>
#include <string>

namespace quillet::test {

// A model with a configuration of its own (DejaVu Sans Mono, tab size 4,
// black on white text, white on blue selection) shown in an edit view.
class ViewFixture {
public:
    static constexpr std::uint32_t kSelectionBack = 0x00FF0000;  // blue
    static constexpr std::uint32_t kSelectionFore = 0x00FFFFFF;

    ViewFixture()
        : model(tarrow::foundation::MakeRef<VxEdit>()),
          config(tarrow::foundation::RefPtr<VxEditLangConfig>::Adopt(new VxEditLangConfig("Test")))
    {
        config->SetFaceName("DejaVu Sans Mono");
        config->SetSize(10);
        config->SetTabSize(4);
        VxEditColorGroup text;
        text.Foreground = 0x000000;
        text.Background = 0xFFFFFF;
        text.DisplayName = "Text";
        config->PutColorGroup("Text", text);
        VxEditColorGroup selection;
        selection.Foreground = kSelectionFore;
        selection.Background = kSelectionBack;
        selection.DisplayName = "Text Selection";
        config->PutColorGroup("Text Selection", selection);
        model->SetLangConfig(config.Get());
        model->NewText();
        view = std::make_unique<CScrivoView>(*model);
        view->resize(400, 200);
    }

    void SetText(const std::string& text)
    {
        model->NewText();
        VxEditLineColPair range(0, 0, 0, 0);
        model->InsertAt(range, text.data(), static_cast<std::int64_t>(text.size()));
        model->ClearHistory();
        view->Controller().SetCaret(0, 0);
    }

    std::string Text() const
    {
        const VxEditTextBuffer& buffer = model->TextBuffer();
        std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
        buffer.CopyOut(text.data(), 0, buffer.Length());
        return text;
    }

    QImage Render()
    {
        const QSize size = view->viewport()->size();
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::magenta);
        QPainter painter(&image);
        view->Render(painter, QRect(QPoint(0, 0), size));
        return image;
    }

    int Margin() const { return view->Viewport().MarginWidth(); }
    int Cell() const { return view->CharWidth(); }
    int LineHeight() const { return view->LineHeight(); }
    // The middle of a character cell, in window pixels.
    QPoint CellCentre(int line, int displayColumn) const
    {
        return QPoint(Margin() + displayColumn * Cell() + Cell() / 2, line * LineHeight() + LineHeight() / 2);
    }

    tarrow::foundation::RefPtr<VxEdit> model;
    tarrow::foundation::RefPtr<VxEditLangConfig> config;
    std::unique_ptr<CScrivoView> view;
};

inline QColor Rgb(std::uint32_t colorRef)
{
    return QColor(static_cast<int>(colorRef & 0xFF), static_cast<int>((colorRef >> 8) & 0xFF),
                  static_cast<int>((colorRef >> 16) & 0xFF));
}

}  // namespace quillet::test
