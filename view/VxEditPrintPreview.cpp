#include "view/VxEditPrintPreview.h"

#include "view/VxEditPrinter.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int kGap = 12;
constexpr double kScreenDpi = 96.0;
constexpr double kZoomStep = 1.25;
constexpr double kMinZoom = 0.1;
constexpr double kMaxZoom = 8.0;

// The pages on show, each a sheet of paper with the printable area where the
// printer puts it, at the preview's zoom; drawn afresh from the job on
// every paint.
class PreviewArea : public QWidget {
public:
    PreviewArea(VxEditPrinter& job, QPrinter& printer, const int& page, const int& shown, const double& zoom,
                QWidget* parent)
        : QWidget(parent), job_(job), page_(page), shown_(shown), zoom_(zoom),
          resolution_(printer.resolution())
    {
        const QPageLayout layout = printer.pageLayout();
        paper_ = layout.fullRectPixels(resolution_);
        printable_ = layout.paintRectPixels(resolution_);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    // A sheet's size on screen at zoom 1.
    QSizeF Sheet() const { return QSizeF(paper_.size()) * (kScreenDpi / resolution_); }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), palette().color(QPalette::Dark));
        if (paper_.isEmpty() || !job_.Layout() || job_.Layout()->PageCount() == 0)
            return;
        const double scale = zoom_ * kScreenDpi / resolution_;
        const int sheets = shown_;
        const int sheetWidth = int(paper_.width() * scale);
        const int sheetHeight = int(paper_.height() * scale);
        int x = std::max(kGap, (width() - sheets * sheetWidth - (sheets - 1) * kGap) / 2);
        const int y = std::max(kGap, (height() - sheetHeight) / 2);
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
    const double& zoom_;
    int resolution_;
    QRect paper_;
    QRect printable_;
};

}  // namespace

VxEditPrintPreview::VxEditPrintPreview(VxEditPrinter& job, QPrinter& printer, QWidget* parent)
    : QDialog(parent),
      job_(job),
      pageCount_(job.Layout() ? job.Layout()->PageCount() : 0),
      scroll_(new QScrollArea(this)),
      print_(new QPushButton(tr("&Print..."), this)),
      next_(new QPushButton(tr("&Next Page"), this)),
      previous_(new QPushButton(tr("Pre&v Page"), this)),
      pages_(new QPushButton(tr("&Two Page"), this)),
      close_(new QPushButton(tr("&Close"), this)),
      fitPage_(new QPushButton(tr("Fit &Page"), this)),
      fitWidth_(new QPushButton(tr("Fit &Width"), this)),
      zoomIn_(new QPushButton(tr("Zoom &In"), this)),
      zoomOut_(new QPushButton(tr("Zoom &Out"), this)),
      inColour_(new QCheckBox(tr("Print in co&lour"), this)),
      label_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("%1 - Print Preview").arg(QString::fromStdString(job.Title())));
    auto* area = new PreviewArea(job, printer, page_, shown_, zoom_, scroll_);
    area_ = area;
    sheet_ = area->Sheet();
    scroll_->setWidget(area_);
    scroll_->setAlignment(Qt::AlignCenter);
    scroll_->setBackgroundRole(QPalette::Dark);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {print_, next_, previous_, pages_, fitPage_, fitWidth_, zoomIn_, zoomOut_, close_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    zoomIn_->setShortcut(QKeySequence::ZoomIn);
    zoomOut_->setShortcut(QKeySequence::ZoomOut);
    inColour_->setChecked(job.InColour());
    buttons->addWidget(inColour_);
    buttons->addStretch();
    buttons->addWidget(label_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(scroll_, 1);

    connect(print_, &QPushButton::clicked, this, [this] { done(kPrintRequested); });
    connect(next_, &QPushButton::clicked, this, &VxEditPrintPreview::NextPage);
    connect(previous_, &QPushButton::clicked, this, &VxEditPrintPreview::PreviousPage);
    connect(pages_, &QPushButton::clicked, this, [this] { SetTwoPages(!twoPages_); });
    connect(fitPage_, &QPushButton::clicked, this, [this] { SetFit(Fit::Page); });
    connect(fitWidth_, &QPushButton::clicked, this, [this] { SetFit(Fit::Width); });
    connect(zoomIn_, &QPushButton::clicked, this, &VxEditPrintPreview::ZoomIn);
    connect(zoomOut_, &QPushButton::clicked, this, &VxEditPrintPreview::ZoomOut);
    connect(inColour_, &QCheckBox::toggled, this, [this](bool on) {
        job_.SetInColour(on);
        area_->update();
    });
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    resize(900, 1000);
    UpdateControls();
}

double VxEditPrintPreview::FittedZoom(Fit fit) const
{
    if (sheet_.isEmpty())
        return 1.0;
    const QSize room = scroll_->maximumViewportSize();
    const int sheets = PagesShown();
    const double across = (room.width() - kGap * (sheets + 1)) / (sheets * sheet_.width());
    if (fit == Fit::Width)
        return std::max(across, kMinZoom);
    return std::max(std::min(across, (room.height() - 2 * kGap) / sheet_.height()), kMinZoom);
}

void VxEditPrintPreview::LayOutArea()
{
    if (fit_ != Fit::Zoom)
        zoom_ = FittedZoom(fit_);
    const int sheets = PagesShown();
    const QSize room = scroll_->maximumViewportSize();
    const int width = int(sheets * sheet_.width() * zoom_) + kGap * (sheets + 1);
    const int height = int(sheet_.height() * zoom_) + 2 * kGap;
    // A fitted page fills the room; a wider or taller one scrolls. Fit
    // width leaves room for the vertical scroll bar it may bring.
    const int barWidth = fit_ == Fit::Width && height > room.height()
                             ? scroll_->verticalScrollBar()->sizeHint().width()
                             : 0;
    if (fit_ == Fit::Width && barWidth > 0)
        zoom_ = std::max((room.width() - barWidth - kGap * (sheets + 1)) / (sheets * sheet_.width()), kMinZoom);
    area_->resize(std::max(fit_ == Fit::Zoom ? width : room.width() - barWidth, width),
                  std::max(fit_ == Fit::Page ? room.height() : 0, int(sheet_.height() * zoom_) + 2 * kGap));
    area_->update();
}

void VxEditPrintPreview::SetFit(Fit fit)
{
    fit_ = fit;
    LayOutArea();
}

void VxEditPrintPreview::ZoomIn()
{
    zoom_ = std::min(zoom_ * kZoomStep, kMaxZoom);
    fit_ = Fit::Zoom;
    LayOutArea();
}

void VxEditPrintPreview::ZoomOut()
{
    zoom_ = std::max(zoom_ / kZoomStep, kMinZoom);
    fit_ = Fit::Zoom;
    LayOutArea();
}

void VxEditPrintPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    LayOutArea();
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
    LayOutArea();
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
