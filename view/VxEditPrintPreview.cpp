#include "view/VxEditPrintPreview.h"

#include "view/VxEditPrinter.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kGap = 12;

// The pages on show, each a sheet of paper with the printable area where the
// printer puts it; drawn afresh from the job on every paint.
class PreviewArea : public QWidget {
public:
    PreviewArea(VxEditPrinter& job, QPrinter& printer, const int& page, const int& shown, QWidget* parent)
        : QWidget(parent), job_(job), page_(page), shown_(shown)
    {
        const QPageLayout layout = printer.pageLayout();
        paper_ = layout.fullRectPixels(printer.resolution());
        printable_ = layout.paintRectPixels(printer.resolution());
        setMinimumSize(200, 200);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        if (paper_.isEmpty() || !job_.Layout() || job_.Layout()->PageCount() == 0)
            return;
        const int sheets = shown_;
        const double scale = std::min((width() - kGap * (sheets + 1)) / double(sheets * paper_.width()),
                                      (height() - 2 * kGap) / double(paper_.height()));
        if (scale <= 0)
            return;
        const int sheetWidth = int(paper_.width() * scale);
        const int sheetHeight = int(paper_.height() * scale);
        int x = (width() - sheets * sheetWidth - (sheets - 1) * kGap) / 2;
        const int y = (height() - sheetHeight) / 2;
        for (int sheet = 0; sheet < sheets; ++sheet) {
            painter.fillRect(QRect(x + 3, y + 3, sheetWidth, sheetHeight), Qt::black);
            painter.fillRect(QRect(x, y, sheetWidth, sheetHeight), Qt::white);
            painter.save();
            painter.translate(x, y);
            painter.scale(scale, scale);
            painter.translate(printable_.topLeft() - paper_.topLeft());
            painter.setClipRect(QRect(QPoint(0, 0), printable_.size()));
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setRenderHint(QPainter::TextAntialiasing);
            job_.PrintPage(painter, page_ + sheet);
            painter.restore();
            x += sheetWidth + kGap;
        }
    }

private:
    VxEditPrinter& job_;
    const int& page_;
    const int& shown_;
    QRect paper_;
    QRect printable_;
};

}  // namespace

VxEditPrintPreview::VxEditPrintPreview(VxEditPrinter& job, QPrinter& printer, QWidget* parent)
    : QDialog(parent),
      job_(job),
      pageCount_(job.Layout() ? job.Layout()->PageCount() : 0),
      print_(new QPushButton(tr("&Print..."), this)),
      next_(new QPushButton(tr("&Next Page"), this)),
      previous_(new QPushButton(tr("Pre&v Page"), this)),
      pages_(new QPushButton(tr("&Two Page"), this)),
      close_(new QPushButton(tr("&Close"), this)),
      label_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("%1 - Print Preview").arg(QString::fromStdString(job.Title())));
    area_ = new PreviewArea(job, printer, page_, shown_, this);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {print_, next_, previous_, pages_, close_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    buttons->addWidget(label_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(area_, 1);

    connect(print_, &QPushButton::clicked, this, [this] { done(kPrintRequested); });
    connect(next_, &QPushButton::clicked, this, &VxEditPrintPreview::NextPage);
    connect(previous_, &QPushButton::clicked, this, &VxEditPrintPreview::PreviousPage);
    connect(pages_, &QPushButton::clicked, this, [this] { SetTwoPages(!twoPages_); });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    resize(900, 1000);
    UpdateControls();
}

void VxEditPrintPreview::ShowPage(int page)
{
    page_ = std::clamp(page, 1, std::max(pageCount_, 1));
    UpdateControls();
}

void VxEditPrintPreview::NextPage()
{
    ShowPage(page_ + PagesShown());
}

void VxEditPrintPreview::PreviousPage()
{
    ShowPage(page_ - (twoPages_ ? 2 : 1));
}

void VxEditPrintPreview::SetTwoPages(bool on)
{
    twoPages_ = on;
    UpdateControls();
}

void VxEditPrintPreview::UpdateControls()
{
    shown_ = PagesShown();
    next_->setEnabled(page_ + shown_ <= pageCount_);
    previous_->setEnabled(page_ > 1);
    pages_->setText(twoPages_ ? tr("&One Page") : tr("&Two Page"));
    pages_->setEnabled(pageCount_ > 1);
    if (pageCount_ == 0)
        label_->setText(tr("No pages"));
    else if (shown_ == 2)
        label_->setText(tr("Pages %1-%2 of %3").arg(page_).arg(page_ + 1).arg(pageCount_));
    else
        label_->setText(tr("Page %1 of %2").arg(page_).arg(pageCount_));
    area_->update();
}

void VxEditPrintPreview::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_PageDown:
        NextPage();
        return;
    case Qt::Key_PageUp:
        PreviousPage();
        return;
    case Qt::Key_Home:
        ShowPage(1);
        return;
    case Qt::Key_End:
        ShowPage(pageCount_);
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
