#pragma once

#include <QLabel>
#include <QString>

// A hyperlink: its caption (or its address when the caption is empty),
// centred in blue 10-point Arial over a transparent background, with the
// hand cursor; a left click, Enter or Space opens the address with the
// desktop's default application.
class CStaticURL : public QLabel {
    Q_OBJECT
public:
    CStaticURL(const QString& caption, const QString& address, QWidget* parent = nullptr);

    const QString& Address() const { return address_; }

signals:
    void Opened(const QString& address);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Open();

    QString address_;
};
