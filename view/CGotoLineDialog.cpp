#include "view/CGotoLineDialog.h"

#include "platform/core/MessageSeam.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <limits>

CGotoLineDialog::CGotoLineDialog(std::int64_t lineNumber, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(this)), go_(new QPushButton(QStringLiteral("Go"), this))
{
    setWindowTitle(QStringLiteral("Goto Line..."));
    edit_->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), edit_));
    edit_->setText(QString::number(lineNumber));
    edit_->selectAll();
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    go_->setDefault(true);
    connect(go_, &QPushButton::clicked, this, &CGotoLineDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(go_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    // The label names the field for screen readers.
    auto* label = new QLabel(QStringLiteral("Enter Line Number"), this);
    label->setBuddy(edit_);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addLayout(buttons);
    edit_->setFocus();
}

void CGotoLineDialog::accept()
{
    const QString text = edit_->text();
    if (text.isEmpty()) {
        quillet::platform::ShowMessage("Please enter a line number.");
        edit_->setFocus();
        return;
    }
    // More digits than any text has lines go to the last line.
    bool ok = false;
    const qulonglong number = text.toULongLong(&ok);
    lineNumber_ = ok && number <= static_cast<qulonglong>(std::numeric_limits<std::int64_t>::max())
                      ? static_cast<std::int64_t>(number)
                      : std::numeric_limits<std::int64_t>::max();
    QDialog::accept();
}
