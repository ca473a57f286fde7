#include "view/VxEditFindReplaceDialog.h"

#include "controller/VxEditController.h"
#include "view/CScrivoView.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

QString FromUtf8(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text)
{
    return text.toUtf8().toStdString();
}

}  // namespace

VxEditFindReplaceDialog* VxEditFindReplaceDialog::Current()
{
    return dynamic_cast<VxEditFindReplaceDialog*>(VxEditSearchState::ForThread().openDialog);
}

VxEditFindReplaceDialog* VxEditFindReplaceDialog::Open(CScrivoView& view, bool replace)
{
    if (VxEditFindReplaceDialog* open = Current()) {
        open->SetEditor(&view);
        open->Activate();
        return open;
    }
    auto* dialog = new VxEditFindReplaceDialog(view, replace);
    VxEditSearchState::ForThread().openDialog = dialog;
    dialog->SetEditor(&view);
    dialog->show();
    dialog->Activate();
    return dialog;
}

VxEditFindReplaceDialog::VxEditFindReplaceDialog(CScrivoView& view, bool replace)
    : QDialog(view.window()), replace_(replace), editor_(&view)
{
    setWindowTitle(replace ? QStringLiteral("Replace") : QStringLiteral("Find"));
    setModal(false);
    BuildLayout();
    Preset(view);
}

void VxEditFindReplaceDialog::BuildLayout()
{
    auto* grid = new QGridLayout;
    findCombo_ = new QComboBox(this);
    auto* findLabel = new QLabel(QStringLiteral("Fi&nd what:"), this);
    findLabel->setBuddy(findCombo_);
    grid->addWidget(findLabel, 0, 0);
    grid->addWidget(findCombo_, 0, 1);
    if (replace_) {
        replaceCombo_ = new QComboBox(this);
        auto* replaceLabel = new QLabel(QStringLiteral("Re&place with:"), this);
        replaceLabel->setBuddy(replaceCombo_);
        grid->addWidget(replaceLabel, 1, 0);
        grid->addWidget(replaceCombo_, 1, 1);
    }
    for (QComboBox* combo : {findCombo_, replaceCombo_}) {
        if (!combo)
            continue;
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setMinimumContentsLength(24);
        combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    }
    // The lists are typed in; their edit fields hold the focus.
    findCombo_->lineEdit()->setAccessibleName(QStringLiteral("Find what"));
    if (replaceCombo_)
        replaceCombo_->lineEdit()->setAccessibleName(QStringLiteral("Replace with"));

    wholeWord_ = new QCheckBox(QStringLiteral("Match &whole word only"), this);
    matchCase_ = new QCheckBox(QStringLiteral("Match &case"), this);
    pattern_ = new QCheckBox(QStringLiteral("Regular &expression"), this);
    auto* boxes = new QVBoxLayout;
    boxes->addWidget(wholeWord_);
    boxes->addWidget(matchCase_);
    boxes->addWidget(pattern_);

    auto* group = new QGroupBox(replace_ ? QStringLiteral("Replace In") : QStringLiteral("Direction"), this);
    auto* groupLayout = new QHBoxLayout(group);
    if (replace_) {
        selection_ = new QRadioButton(QStringLiteral("&Selection"), group);
        wholeFile_ = new QRadioButton(QStringLiteral("Wh&ole file"), group);
        groupLayout->addWidget(selection_);
        groupLayout->addWidget(wholeFile_);
    } else {
        up_ = new QRadioButton(QStringLiteral("&Up"), group);
        down_ = new QRadioButton(QStringLiteral("&Down"), group);
        groupLayout->addWidget(up_);
        groupLayout->addWidget(down_);
    }
    auto* options = new QHBoxLayout;
    options->addLayout(boxes);
    options->addWidget(group);
    grid->addLayout(options, replace_ ? 2 : 1, 0, 1, 2);

    auto* buttons = new QVBoxLayout;
    findNext_ = new QPushButton(QStringLiteral("&Find Next"), this);
    findNext_->setDefault(true);
    buttons->addWidget(findNext_);
    if (replace_) {
        replaceOne_ = new QPushButton(QStringLiteral("&Replace"), this);
        replaceAll_ = new QPushButton(QStringLiteral("Replace &All"), this);
        buttons->addWidget(replaceOne_);
        buttons->addWidget(replaceAll_);
    } else {
        markAll_ = new QPushButton(QStringLiteral("&Mark All"), this);
        buttons->addWidget(markAll_);
    }
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    buttons->addWidget(cancel_);
    buttons->addStretch();

    auto* layout = new QHBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    connect(findNext_, &QPushButton::clicked, this, [this] { Request(VxEditController::kRequestFindNext); });
    if (markAll_)
        connect(markAll_, &QPushButton::clicked, this, [this] { Request(VxEditController::kRequestMarkAll); });
    if (replaceOne_)
        connect(replaceOne_, &QPushButton::clicked, this, [this] { Request(VxEditController::kRequestReplace); });
    if (replaceAll_)
        connect(replaceAll_, &QPushButton::clicked, this, [this] { Request(VxEditController::kRequestReplaceAll); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(findCombo_, &QComboBox::editTextChanged, this, &VxEditFindReplaceDialog::UpdateButtons);
    if (selection_)
        connect(selection_, &QRadioButton::toggled, this, &VxEditFindReplaceDialog::UpdateButtons);
}

void VxEditFindReplaceDialog::Preset(CScrivoView& view)
{
    const VxEditSearchState& state = VxEditSearchState::ForThread();
    matchCase_->setChecked(state.matchCase);
    wholeWord_->setChecked(state.wholeWord);
    pattern_->setChecked(state.pattern && state.patternAvailable);
    pattern_->setVisible(state.patternAvailable);
    FillHistory(findCombo_, state.findHistory);
    if (replace_) {
        FillHistory(replaceCombo_, state.replaceHistory);
        replaceCombo_->setEditText(FromUtf8(state.replaceText));
        const bool selected = view.Controller().HasSelection();
        (state.inSelection && selected ? selection_ : wholeFile_)->setChecked(true);
    } else {
        (state.searchDown ? down_ : up_)->setChecked(true);
    }
    std::string text = view.Controller().FindTextPreset();
    if (text.empty() && !state.findHistory.empty())
        text = state.findHistory.front();
    findCombo_->setEditText(FromUtf8(text));
    findCombo_->lineEdit()->selectAll();
    findCombo_->setFocus();
}

void VxEditFindReplaceDialog::FillHistory(QComboBox* combo, const std::vector<std::string>& history)
{
    const QString text = combo->currentText();
    combo->blockSignals(true);
    combo->clear();
    for (const std::string& entry : history)
        combo->addItem(FromUtf8(entry));
    combo->setEditText(text);
    combo->blockSignals(false);
}

void VxEditFindReplaceDialog::SetEditor(CScrivoView* view)
{
    editor_ = view;
    VxEditSearchState::ForThread().owner = view ? &view->Controller() : nullptr;
    UpdateButtons();
}

void VxEditFindReplaceDialog::Activate()
{
    show();
    raise();
    activateWindow();
    UpdateButtons();
}

void VxEditFindReplaceDialog::UpdateButtons()
{
    if (replace_) {
        // Replacing in the selection needs one.
        const bool selected = editor_ && editor_->Controller().HasSelection();
        selection_->setEnabled(selected);
        if (!selected && selection_->isChecked())
            wholeFile_->setChecked(true);
    }
    const bool hasText = !findCombo_->currentText().isEmpty();
    findNext_->setEnabled(hasText && !(replace_ && selection_->isChecked()));
    if (markAll_)
        markAll_->setEnabled(hasText);
    if (replaceOne_)
        replaceOne_->setEnabled(hasText && wholeFile_->isChecked());
    if (replaceAll_)
        replaceAll_->setEnabled(hasText);
}

VxEditFindDialogValues VxEditFindReplaceDialog::Values() const
{
    VxEditFindDialogValues values;
    values.findText = ToUtf8(findCombo_->currentText());
    values.replaceText = replaceCombo_ ? ToUtf8(replaceCombo_->currentText()) : std::string();
    values.matchCase = matchCase_->isChecked();
    values.wholeWord = wholeWord_->isChecked();
    values.pattern = VxEditSearchState::ForThread().patternAvailable && pattern_->isChecked();
    values.searchDown = replace_ || down_->isChecked();
    values.inSelection = replace_ && selection_->isChecked();
    values.fromFindDialog = !replace_;
    return values;
}

void VxEditFindReplaceDialog::Request(int code)
{
    VxEditSearchState& state = VxEditSearchState::ForThread();
    const VxEditFindDialogValues values = Values();
    VxEditSearchState::AddToHistory(state.findHistory, values.findText);
    FillHistory(findCombo_, state.findHistory);
    if (replace_) {
        VxEditSearchState::AddToHistory(state.replaceHistory, values.replaceText);
        FillHistory(replaceCombo_, state.replaceHistory);
    }
    if (!state.owner)
        return;
    QPointer<VxEditFindReplaceDialog> alive(this);
    const int result = state.owner->OnFindReplaceRequest(code, values);
    if (!alive)
        return;
    if (code == VxEditController::kRequestMarkAll && result == 1) {
        close();
        return;
    }
    UpdateButtons();
}

VxEditFindReplaceDialog::~VxEditFindReplaceDialog()
{
    VxEditSearchState& state = VxEditSearchState::ForThread();
    if (state.openDialog == this) {
        state.openDialog = nullptr;
        state.owner = nullptr;
    }
}

void VxEditFindReplaceDialog::done(int result)
{
    if (closing_)
        return;
    closing_ = true;
    VxEditSearchState& state = VxEditSearchState::ForThread();
    if (state.owner)
        state.owner->OnFindReplaceRequest(VxEditController::kRequestClose, VxEditFindDialogValues());
    state.openDialog = nullptr;
    state.owner = nullptr;
    QDialog::done(result);
    if (editor_) {
        editor_->activateWindow();
        editor_->setFocus();
    }
    deleteLater();
}
