#include "app/CFindInFilesDlg.h"

#include "controller/VxEditSearchState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <iterator>

CFindInFilesDlg::CFindInFilesDlg(const Values& values, QWidget* parent)
    : QDialog(parent), text_(new QComboBox(this)), matchCase_(new QCheckBox(tr("Match &case"), this)),
      wholeWord_(new QCheckBox(tr("Match &whole word only"), this)),
      pattern_(new QCheckBox(tr("Regular e&xpression"), this)), folder_(new QLineEdit(values.folder, this)),
      fileTypes_(new QLineEdit(values.fileTypes, this)),
      subfolders_(new QCheckBox(tr("Include &subfolders"), this)), find_(nullptr)
{
    setWindowTitle(tr(kTitle));
    text_->setEditable(true);
    text_->setInsertPolicy(QComboBox::NoInsert);
    // The history is the Find dialog's: what was looked for there is offered here.
    for (const std::string& entry : VxEditSearchState::ForThread().findHistory)
        text_->addItem(QString::fromStdString(entry));
    text_->setEditText(values.text);
    matchCase_->setChecked(values.matchCase);
    wholeWord_->setChecked(values.wholeWord);
    pattern_->setChecked(values.pattern);
    subfolders_->setChecked(values.subfolders);

    auto* chooser = new QToolButton(this);
    chooser->setText(QStringLiteral("..."));
    chooser->setAccessibleName(tr("Choose the folder"));
    connect(chooser, &QToolButton::clicked, this, &CFindInFilesDlg::ChooseFolder);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(chooser);

    auto* form = new QFormLayout;
    form->addRow(tr("Fi&nd what:"), text_);
    // A row of two widgets gets no buddy from the form: Alt+F needs one.
    auto* folderLabel = new QLabel(tr("In &folder:"), this);
    folderLabel->setBuddy(folder_);
    form->addRow(folderLabel, folderRow);
    form->addRow(tr("File &types:"), fileTypes_);
    // The field inside the list is what holds the focus.
    text_->setAccessibleName(tr("Find what"));
    text_->lineEdit()->setAccessibleName(tr("Find what"));
    folder_->setAccessibleName(tr("In folder"));
    fileTypes_->setAccessibleName(tr("File types"));

    auto* buttons = new QDialogButtonBox(this);
    find_ = buttons->addButton(tr("Find"), QDialogButtonBox::AcceptRole);
    find_->setDefault(true);
    buttons->addButton(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(text_, &QComboBox::editTextChanged, this, &CFindInFilesDlg::UpdateFindButton);
    connect(folder_, &QLineEdit::textChanged, this, &CFindInFilesDlg::UpdateFindButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    for (QCheckBox* box : {matchCase_, wholeWord_, pattern_, subfolders_})
        layout->addWidget(box);
    layout->addWidget(buttons);
    // Tab goes down the form, then the boxes, then the buttons.
    QWidget* order[] = {text_, folder_, chooser, fileTypes_, matchCase_, wholeWord_, pattern_, subfolders_};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    UpdateFindButton();
    text_->setFocus();
    text_->lineEdit()->selectAll();
}

CFindInFilesDlg::Values CFindInFilesDlg::Result() const
{
    Values values;
    values.text = text_->currentText();
    values.matchCase = matchCase_->isChecked();
    values.wholeWord = wholeWord_->isChecked();
    values.pattern = pattern_->isChecked();
    values.folder = folder_->text().trimmed();
    values.fileTypes = fileTypes_->text();
    values.subfolders = subfolders_->isChecked();
    return values;
}

void CFindInFilesDlg::ChooseFolder()
{
    const QString folder = QFileDialog::getExistingDirectory(this, tr("In Folder"), folder_->text());
    if (!folder.isEmpty())
        folder_->setText(folder);
}

void CFindInFilesDlg::UpdateFindButton()
{
    find_->setEnabled(!text_->currentText().isEmpty() && !folder_->text().trimmed().isEmpty());
}
