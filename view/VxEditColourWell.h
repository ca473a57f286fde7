#pragma once

#include <QColor>
#include <QPushButton>

// A button that shows a colour and lets the user pick another one.
class VxEditColourWell : public QPushButton {
    Q_OBJECT
public:
    explicit VxEditColourWell(const QString& name, QWidget* parent = nullptr);

    QColor Colour() const { return colour_; }
    // Shows the colour without telling anyone.
    void SetColour(const QColor& colour);
    // Takes the colour as if the user had picked it.
    void PickColour(const QColor& colour);

signals:
    void ColourPicked(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Choose();

    QString name_;
    QColor colour_;
};
