#include "view/VxEditFontColorDialog.h"

#include "engine/VxEdit.h"
#include "language/VxEditLangConfig.h"
#include "mvc/VxEditMsg.h"
#include "view/VxEditColourSample.h"
#include "view/VxEditColourWell.h"
#include "view/VxEditColours.h"
#include "view/VxEditFontChooser.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cstdlib>

namespace {

constexpr int kGroupRole = Qt::UserRole;
constexpr int kBoldWeight = 700;
constexpr int kRegularWeight = 400;

// a * b / c rounded to the nearest integer, halves away from zero.
int MulDiv(int a, int b, int c)
{
    if (c == 0)
        return 0;
    const long long product = static_cast<long long>(a) * b;
    const long long half = std::llabs(c) / 2;
    const bool negative = (product < 0) != (c < 0);
    const long long quotient = (std::llabs(product) + half) / std::llabs(c);
    return static_cast<int>(negative ? -quotient : quotient);
}

std::uint32_t ToColorRef(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8) |
           (static_cast<std::uint32_t>(colour.blue()) << 16);
}

std::uint32_t SystemColour(const QPalette& palette, QPalette::ColorRole role)
{
    return ToColorRef(palette.color(role));
}

}  // namespace

int VxEditFontColorDialog::PointsFromHeight(int height, int pixelsPerInch)
{
    return MulDiv(std::abs(height), 72, pixelsPerInch);
}

int VxEditFontColorDialog::HeightFromPoints(int points, int pixelsPerInch)
{
    return -MulDiv(points, pixelsPerInch, 72);
}

VxEditFontColorDialog::VxEditFontColorDialog(VxEditLangConfig& config, QWidget* parent)
    : QDialog(parent), config_(config), system_(QApplication::palette()), list_(new QListWidget),
      foreground_(new VxEditColourWell(tr("Foreground colour"))),
      background_(new VxEditColourWell(tr("Background colour"))),
      foreAutomatic_(new QCheckBox(tr("Automatic"))), backAutomatic_(new QCheckBox(tr("Automatic"))),
      fontName_(new QLabel), fontSize_(new QLabel), sample_(new VxEditColourSample),
      chooseFont_(new QPushButton(tr("C&hoose Font"))), resetAll_(new QPushButton(tr("Reset All")))
{
    setWindowTitle(tr("Font and Color Settings"));
    setAccessibleName(windowTitle());
    list_->setAccessibleName(tr("Colour groups"));
    foreAutomatic_->setAccessibleName(tr("Automatic foreground colour"));
    backAutomatic_->setAccessibleName(tr("Automatic background colour"));
    fontName_->setAccessibleName(tr("Font name"));
    fontSize_->setAccessibleName(tr("Font size"));
    chooseFont_->setAccessibleName(tr("Choose Font"));
    resetAll_->setAccessibleName(tr("Reset All"));

    auto* colours = new QGroupBox(tr("Colors"));
    auto* colourGrid = new QGridLayout(colours);
    colourGrid->addWidget(new QLabel(tr("Foreground:")), 0, 0);
    colourGrid->addWidget(foreground_, 0, 1);
    colourGrid->addWidget(foreAutomatic_, 0, 2);
    colourGrid->addWidget(new QLabel(tr("Background:")), 1, 0);
    colourGrid->addWidget(background_, 1, 1);
    colourGrid->addWidget(backAutomatic_, 1, 2);

    auto* font = new QGroupBox(tr("Font"));
    auto* fontGrid = new QGridLayout(font);
    fontGrid->addWidget(fontName_, 0, 0);
    fontGrid->addWidget(fontSize_, 0, 1);
    fontGrid->addWidget(chooseFont_, 0, 2);

    auto* sampleBox = new QGroupBox(tr("Sample"));
    auto* sampleLayout = new QVBoxLayout(sampleBox);
    sampleLayout->addWidget(sample_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->addButton(resetAll_, QDialogButtonBox::ResetRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(colours);
    right->addWidget(font);
    right->addWidget(sampleBox);
    auto* body = new QHBoxLayout;
    body->addWidget(list_, 1);
    body->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(buttons);

    connect(list_, &QListWidget::currentRowChanged, this, &VxEditFontColorDialog::ShowSelected);
    connect(foreground_, &VxEditColourWell::ColourPicked, this, &VxEditFontColorDialog::TakeControls);
    connect(background_, &VxEditColourWell::ColourPicked, this, &VxEditFontColorDialog::TakeControls);
    connect(foreAutomatic_, &QCheckBox::toggled, this, &VxEditFontColorDialog::TakeControls);
    connect(backAutomatic_, &QCheckBox::toggled, this, &VxEditFontColorDialog::TakeControls);
    connect(chooseFont_, &QPushButton::clicked, this, [this] {
        VxEditFontChooser chooser(DisplayFont(), this);
        if (chooser.exec() == QDialog::Accepted)
            ChooseFont(chooser.SelectedFont());
    });
    connect(resetAll_, &QPushButton::clicked, this, &VxEditFontColorDialog::Load);
    Load();
}

int VxEditFontColorDialog::PixelsPerInch() const
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? static_cast<int>(screen->logicalDotsPerInchY()) : 96;
}

void VxEditFontColorDialog::Load()
{
    font_.faceName = config_.GetFaceName();
    font_.height = HeightFromPoints(config_.GetSize(), PixelsPerInch());
    font_.italic = config_.GetItalic();
    font_.weight = config_.GetBold() ? kBoldWeight : kRegularWeight;
    groups_.clear();
    for (int i = 0; i < config_.GetColorGroupCount(); ++i)
        groups_.push_back(*config_.GetColorGroup(i));
    textIndex_ = config_.GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup);
    selectionIndex_ = config_.GetSpecialColorGroupIndex(IVxEditLangConfig::kSelectionGroup);
    FillList();
    ShowFont();
}

void VxEditFontColorDialog::FillList()
{
    const QSignalBlocker quiet(list_);
    list_->clear();
    for (int i = 0; i < static_cast<int>(groups_.size()); ++i) {
        if (groups_[i].Configurable != 1)
            continue;
        auto* item = new QListWidgetItem(QString::fromStdString(groups_[i].DisplayName), list_);
        item->setData(kGroupRole, i);
    }
    list_->setCurrentRow(list_->count() > 0 ? 0 : -1);
    ShowSelected();
}

int VxEditFontColorDialog::SelectedGroup() const
{
    const QListWidgetItem* item = list_->currentItem();
    return item ? item->data(kGroupRole).toInt() : -1;
}

void VxEditFontColorDialog::ShowSelected()
{
    const int index = SelectedGroup();
    const bool selected = index >= 0;
    for (QWidget* control : std::initializer_list<QWidget*>{foreAutomatic_, backAutomatic_, foreground_, background_})
        control->setEnabled(selected);
    if (selected) {
        const VxEditColorGroup& group = groups_[static_cast<std::size_t>(index)];
        const QSignalBlocker quietFore(foreAutomatic_);
        const QSignalBlocker quietBack(backAutomatic_);
        foreAutomatic_->setChecked(group.ForeColorAutomatic != 0);
        backAutomatic_->setChecked(group.BackColorAutomatic != 0);
        foreground_->SetColour(VxEditColours::FromColorRef(group.Foreground));
        background_->SetColour(VxEditColours::FromColorRef(group.Background));
        foreground_->setEnabled(!group.ForeColorAutomatic);
        background_->setEnabled(!group.BackColorAutomatic);
    }
    UpdateSample();
}

void VxEditFontColorDialog::TakeControls()
{
    const int index = SelectedGroup();
    if (index < 0)
        return;
    VxEditColorGroup& group = groups_[static_cast<std::size_t>(index)];
    // Ticking "Automatic" keeps the chosen colour aside; clearing it gives
    // that colour back instead of the automatic one.
    const auto follow = [index](bool automatic, auto& flag, std::uint32_t& colour,
                                std::map<int, std::uint32_t>& chosen, std::uint32_t inWell) {
        const bool was = flag != 0;
        flag = automatic ? 1 : 0;
        if (automatic && !was) {
            chosen[index] = inWell;
        } else if (!automatic) {
            const auto kept = chosen.find(index);
            colour = was && kept != chosen.end() ? kept->second : inWell;
            if (was && kept != chosen.end())
                chosen.erase(kept);
        }
    };
    follow(foreAutomatic_->isChecked(), group.ForeColorAutomatic, group.Foreground, chosenFore_,
           ToColorRef(foreground_->Colour()));
    follow(backAutomatic_->isChecked(), group.BackColorAutomatic, group.Background, chosenBack_,
           ToColorRef(background_->Colour()));
    ResolveAutomatic(index);
    ShowSelected();
}

void VxEditFontColorDialog::ResolveAutomatic(int changed)
{
    if (textIndex_ < 0 || textIndex_ >= static_cast<int>(groups_.size()))
        return;
    VxEditColorGroup& text = groups_[static_cast<std::size_t>(textIndex_)];
    const auto resolve = [&](int index) {
        VxEditColorGroup& group = groups_[static_cast<std::size_t>(index)];
        // The selection shows the text's colours the other way round.
        const bool reversed = index == selectionIndex_;
        if (group.ForeColorAutomatic)
            group.Foreground = reversed ? text.Background : text.Foreground;
        if (group.BackColorAutomatic)
            group.Background = reversed ? text.Foreground : text.Background;
    };
    if (changed != textIndex_) {
        resolve(changed);
        return;
    }
    if (text.ForeColorAutomatic)
        text.Foreground = SystemColour(system_, QPalette::Text);
    if (text.BackColorAutomatic)
        text.Background = SystemColour(system_, QPalette::Base);
    for (int i = 0; i < static_cast<int>(groups_.size()); ++i) {
        if (i != textIndex_)
            resolve(i);
    }
}

void VxEditFontColorDialog::ShowFont()
{
    fontName_->setText(QString::fromStdString(font_.faceName));
    fontSize_->setText(QString::asprintf("%d pt", PointsFromHeight(font_.height, PixelsPerInch())));
    UpdateSample();
}

QFont VxEditFontColorDialog::DisplayFont() const
{
    QFont font(QString::fromStdString(font_.faceName));
    font.setPointSize(std::max(1, PointsFromHeight(font_.height, PixelsPerInch())));
    font.setItalic(font_.italic != 0);
    font.setBold(font_.weight == kBoldWeight);
    return font;
}

void VxEditFontColorDialog::ChooseFont(const QFont& font)
{
    font_.faceName = font.family().toStdString();
    font_.height = HeightFromPoints(font.pointSize(), PixelsPerInch());
    font_.italic = font.italic() ? 1 : 0;
    font_.weight = font.bold() ? kBoldWeight : kRegularWeight;
    ShowFont();
}

void VxEditFontColorDialog::UpdateSample()
{
    const int index = SelectedGroup();
    if (index < 0) {
        sample_->Show(DisplayFont(), Qt::black, Qt::white);
        return;
    }
    const VxEditColorGroup& group = groups_[static_cast<std::size_t>(index)];
    sample_->Show(DisplayFont(), VxEditColours::FromColorRef(group.Foreground),
                  VxEditColours::FromColorRef(group.Background));
}

void VxEditFontColorDialog::Apply()
{
    config_.SetFaceName(font_.faceName);
    config_.SetSize(PointsFromHeight(font_.height, PixelsPerInch()));
    config_.SetItalic(font_.italic);
    config_.SetBold(font_.weight == kBoldWeight ? 1 : 0);
    for (int i = 0; i < static_cast<int>(groups_.size()) && i < config_.GetColorGroupCount(); ++i)
        *config_.GetColorGroup(i) = groups_[static_cast<std::size_t>(i)];
}

bool EditFontAndColours(VxEdit& model, QWidget* parent)
{
    VxEditLangConfig* config = model.GetLangConfig();
    if (!config)
        return false;
    VxEditFontColorDialog dialog(*config, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.Apply();
    auto message = tarrow::foundation::MakeRef<VxEditMsg>(kMsgFontUpdate);
    config->Notify(nullptr, message.Get());
    return true;
}
