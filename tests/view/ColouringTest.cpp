// A Java, a JavaScript and an HTML file in views with the real
// configurations (java.ini, javascript.ini and the built-in HTML form):
// keywords, comments, strings, regular expressions and templates are
// painted in their groups' colours, in a page's script too.
#include "engine/VxScrivo.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfigRegistry.h"
#include "language/VxEditResConfigReader.h"
#include "view/CScrivoView.h"

#include <QDir>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

QColor Colour(const VxEditLangConfig& config, const char* group)
{
    const VxEditColorGroup* found = config.GetColorGroup(config.FindColorGroup(group));
    return QColor(static_cast<int>(found->Foreground & 0xFF), static_cast<int>((found->Foreground >> 8) & 0xFF),
                  static_cast<int>((found->Foreground >> 16) & 0xFF));
}

int Distance(const QColor& a, const QColor& b)
{
    return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

class ColouringTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
        registry.Reset();
        registry.Register("Java", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
        registry.Register("HTML", tarrow::foundation::MakeRef<VxEditResConfigReader>(146).Get());
        registry.Register("JavaScript",
                          tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVASCRIPT_INI).Get());
    }
    void TearDown() override
    {
        view.reset();
        model.Reset();
        VxEditLangConfigRegistry::Instance().Reset();
    }

    void Open(const char* language, const std::string& text)
    {
        model = tarrow::foundation::MakeRef<VxScrivo>();
        ASSERT_EQ(1, model->OpenWithConfig(language));
        VxEditLineColPair range(0, 0, 0, 0);
        model->InsertAt(range, text.data(), static_cast<std::int64_t>(text.size()));
        view = std::make_unique<CScrivoView>(*model);
        view->resize(700, 200);
        image = QImage(view->viewport()->size(), QImage::Format_RGB32);
        QPainter painter(&image);
        view->Render(painter, image.rect());
        painter.end();
        image.save(QDir::tempPath() + "/quillet-colouring-" + language + ".png");
    }

    // The strongest ink of a character cell: the pixel farthest from the
    // cell's background.
    QColor Ink(int line, int displayColumn) const
    {
        const int left = view->Viewport().MarginWidth() + displayColumn * view->CharWidth();
        const int top = line * view->LineHeight();
        const QColor background = image.pixelColor(left, top);
        QColor ink = background;
        for (int y = top; y < top + view->LineHeight(); ++y)
            for (int x = left; x < left + view->CharWidth(); ++x)
                if (Distance(image.pixelColor(x, y), background) > Distance(ink, background))
                    ink = image.pixelColor(x, y);
        return ink;
    }

    // The name of the candidate colour nearest to the cell's ink.
    std::string NearestGroup(int line, int displayColumn,
                             const std::vector<std::pair<std::string, QColor>>& candidates) const
    {
        const QColor ink = Ink(line, displayColumn);
        std::string best;
        int bestDistance = 1 << 30;
        for (const auto& [name, colour] : candidates) {
            if (Distance(ink, colour) < bestDistance) {
                bestDistance = Distance(ink, colour);
                best = name;
            }
        }
        return best;
    }

    tarrow::foundation::RefPtr<VxScrivo> model;
    std::unique_ptr<CScrivoView> view;
    QImage image;
};

TEST_F(ColouringTest, AJavaFileShowsKeywordsCommentsAndStringsInTheirColours)
{
    Open("Java", "public class A { // note\r\n\tString s = \"hi\";\r\n}\r\n");
    const VxEditLangConfig& config = *model->GetLangConfig();
    const std::vector<std::pair<std::string, QColor>> groups = {
        {"Text", view->palette().color(QPalette::Text)},
        {"Keyword", Colour(config, "Keyword")},
        {"Comment", Colour(config, "Comment")},
        {"String", Colour(config, "String")},
    };
    EXPECT_EQ("Keyword", NearestGroup(0, 1, groups));
    EXPECT_EQ("Keyword", NearestGroup(0, 8, groups));
    EXPECT_EQ("Text", NearestGroup(0, 13, groups));
    EXPECT_EQ("Comment", NearestGroup(0, 21, groups));
    EXPECT_EQ("String", NearestGroup(1, 16, groups));
}

TEST_F(ColouringTest, AnHtmlFileShowsElementsCommentsAndStringsInTheirColours)
{
    Open("HTML", "<A HREF=\"x.htm\">go</A> <!-- note -->\r\n");
    const VxEditLangConfig& config = *model->GetLangConfig();
    const std::vector<std::pair<std::string, QColor>> groups = {
        {"Text", view->palette().color(QPalette::Text)},
        {"Element", Colour(config, "Element")},
        {"Comment", Colour(config, "Comment")},
        {"String", Colour(config, "String")},
    };
    EXPECT_EQ("Element", NearestGroup(0, 1, groups));
    EXPECT_EQ("String", NearestGroup(0, 10, groups));
    EXPECT_EQ("Text", NearestGroup(0, 16, groups));
    EXPECT_EQ("Comment", NearestGroup(0, 29, groups));
}

TEST_F(ColouringTest, AJavaScriptFileShowsKeywordsRegexTemplatesAndTheirCode)
{
    Open("JavaScript", "const r = /a+b/g; // note\n`t ${typeof x}`;\n");
    const VxEditLangConfig& config = *model->GetLangConfig();
    const std::vector<std::pair<std::string, QColor>> groups = {
        {"Text", view->palette().color(QPalette::Text)}, {"Keyword", Colour(config, "Keyword")},
        {"Comment", Colour(config, "Comment")},          {"Regex", Colour(config, "Regex")},
        {"Template", Colour(config, "Template")},
    };
    EXPECT_EQ("Keyword", NearestGroup(0, 1, groups));
    EXPECT_EQ("Text", NearestGroup(0, 6, groups));
    EXPECT_EQ("Regex", NearestGroup(0, 12, groups));
    EXPECT_EQ("Comment", NearestGroup(0, 21, groups));
    EXPECT_EQ("Template", NearestGroup(1, 0, groups));
    EXPECT_EQ("Keyword", NearestGroup(1, 6, groups));
    EXPECT_EQ("Text", NearestGroup(1, 12, groups));
}

TEST_F(ColouringTest, AScriptInAPageShowsItsKeywordsAsElements)
{
    Open("HTML", "<SCRIPT>\nif (a < b) s = \"x\";\n</SCRIPT> if\n");
    const VxEditLangConfig& config = *model->GetLangConfig();
    const std::vector<std::pair<std::string, QColor>> groups = {
        {"Text", view->palette().color(QPalette::Text)},
        {"Element", Colour(config, "Element")},
        {"String", Colour(config, "String")},
    };
    EXPECT_EQ("Element", NearestGroup(1, 0, groups));
    EXPECT_EQ("Text", NearestGroup(1, 4, groups));
    EXPECT_EQ("Text", NearestGroup(1, 6, groups));
    EXPECT_EQ("String", NearestGroup(1, 15, groups));
    EXPECT_EQ("Text", NearestGroup(2, 11, groups));
}

}  // namespace
