#include "view/VxEditFontChooser.h"

#include "view/VxEditColourSample.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QSpinBox>

QStringList VxEditFontChooser::OrderedFaces()
{
    QStringList fixed;
    QStringList others;
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isPrivateFamily(family))
            continue;
        (QFontDatabase::isFixedPitch(family) ? fixed : others) << family;
    }
    return fixed + others;
}

VxEditFontChooser::VxEditFontChooser(const QFont& font, QWidget* parent)
    : QDialog(parent), faces_(new QListWidget), size_(new QSpinBox), sample_(new QLabel), font_(font)
{
    setWindowTitle(tr("Font"));
    setAccessibleName(windowTitle());
    auto* facesLabel = new QLabel(tr("&Font:"));
    auto* sizeLabel = new QLabel(tr("&Size:"));
    facesLabel->setBuddy(faces_);
    sizeLabel->setBuddy(size_);
    faces_->setAccessibleName(tr("Font"));
    size_->setAccessibleName(tr("Size"));
    sample_->setAccessibleName(tr("Sample"));
    size_->setRange(4, 72);
    size_->setSuffix(tr(" pt"));
    size_->setValue(font.pointSize() > 0 ? font.pointSize() : 10);
    sample_->setText(QString::fromLatin1(VxEditColourSample::kSampleText));
    sample_->setAlignment(Qt::AlignCenter);
    sample_->setMinimumHeight(60);
    sample_->setFrameShape(QFrame::StyledPanel);

    for (const QString& family : OrderedFaces()) {
        auto* item = new QListWidgetItem(family, faces_);
        if (QFontDatabase::isFixedPitch(family))
            item->setToolTip(tr("Fixed pitch"));
        if (family.compare(font.family(), Qt::CaseInsensitive) == 0)
            faces_->setCurrentItem(item);
    }
    connect(faces_, &QListWidget::currentTextChanged, this, &VxEditFontChooser::UpdateSample);
    connect(size_, &QSpinBox::valueChanged, this, &VxEditFontChooser::UpdateSample);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* grid = new QGridLayout(this);
    grid->addWidget(facesLabel, 0, 0);
    grid->addWidget(sizeLabel, 0, 1);
    grid->addWidget(faces_, 1, 0);
    grid->addWidget(size_, 1, 1, Qt::AlignTop);
    grid->addWidget(sample_, 2, 0, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 2);
    UpdateSample();
}

QFont VxEditFontChooser::SelectedFont() const
{
    QFont font = font_;
    if (QListWidgetItem* item = faces_->currentItem())
        font.setFamily(item->text());
    font.setPointSize(size_->value());
    font.setBold(false);
    font.setItalic(false);
    return font;
}

void VxEditFontChooser::UpdateSample()
{
    sample_->setFont(SelectedFont());
}
