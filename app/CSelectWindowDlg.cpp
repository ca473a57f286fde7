#include "app/CSelectWindowDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

CSelectWindowDlg::CSelectWindowDlg(const QStringList& titles, int current, QWidget* parent)
    : QDialog(parent), list_(new QListWidget(this))
{
    setWindowTitle(tr(kTitle));
    list_->addItems(titles);
    list_->setCurrentRow(current >= 0 && current < list_->count() ? current : 0);
    list_->setAccessibleName(tr("Windows"));
    auto* label = new QLabel(tr("&Windows:"), this);
    label->setBuddy(list_);
    connect(list_, &QListWidget::itemActivated, this, &QDialog::accept);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(list_, 1);
    layout->addWidget(buttons);
    list_->setFocus();
}

int CSelectWindowDlg::Chosen() const
{
    return list_->currentRow();
}
