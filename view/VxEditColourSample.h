#pragma once

#include <QColor>
#include <QFont>
#include <QFrame>

// The "Sample" of the font and colour dialog: "AaBbCcXxYyZz" in a font and
// colour on a background.
class VxEditColourSample : public QFrame {
    Q_OBJECT
public:
    static constexpr const char* kSampleText = "AaBbCcXxYyZz";

    explicit VxEditColourSample(QWidget* parent = nullptr);

    void Show(const QFont& font, const QColor& foreground, const QColor& background);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont font_;
    QColor foreground_ = Qt::black;
    QColor background_ = Qt::white;
};
