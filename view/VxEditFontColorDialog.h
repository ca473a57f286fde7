#pragma once

#include "language/VxEditColorGroup.h"

#include <QDialog>
#include <QFont>
#include <QPalette>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class VxEditColourSample;
class VxEditColourWell;
class VxEditLangConfig;

// "Font and Color Settings": the display font and the colours of the
// configurable colour groups of one language configuration. The dialog works
// on copies; Apply (after OK) writes them into the configuration.
class VxEditFontColorDialog : public QDialog {
    Q_OBJECT
public:
    // The font as the dialog keeps it: a height in pixels (negative: the
    // character height, as fonts are requested), italic and weight.
    struct FontDescription {
        std::string faceName;
        int height = 0;
        int italic = 0;
        int weight = 400;
    };

    VxEditFontColorDialog(VxEditLangConfig& config, QWidget* parent = nullptr);

    // Copies the dialog's font and groups into the configuration.
    void Apply();

    // The points of a font height at the screen's resolution, and back.
    static int PointsFromHeight(int height, int pixelsPerInch);
    static int HeightFromPoints(int points, int pixelsPerInch);

    const std::vector<VxEditColorGroup>& WorkingGroups() const { return groups_; }
    const FontDescription& Font() const { return font_; }
    // Takes a font as the font chooser does on OK.
    void ChooseFont(const QFont& font);

    QListWidget* GroupList() const { return list_; }
    VxEditColourWell* ForegroundWell() const { return foreground_; }
    VxEditColourWell* BackgroundWell() const { return background_; }
    QCheckBox* ForegroundAutomatic() const { return foreAutomatic_; }
    QCheckBox* BackgroundAutomatic() const { return backAutomatic_; }
    QLabel* FontName() const { return fontName_; }
    QLabel* FontSize() const { return fontSize_; }
    QPushButton* ResetAllButton() const { return resetAll_; }
    VxEditColourSample* Sample() const { return sample_; }
    // The group index of the selected list item, or -1.
    int SelectedGroup() const;

private:
    void Load();
    void FillList();
    void ShowSelected();
    void TakeControls();
    void ResolveAutomatic(int changed);
    void ShowFont();
    void UpdateSample();
    QFont DisplayFont() const;
    int PixelsPerInch() const;

    VxEditLangConfig& config_;
    FontDescription font_;
    std::vector<VxEditColorGroup> groups_;
    // The colour each group had in its wells before "Automatic" replaced it,
    // given back when the box is cleared again (0x00BBGGRR; index order).
    std::map<int, std::uint32_t> chosenFore_;
    std::map<int, std::uint32_t> chosenBack_;
    int textIndex_ = 0;
    int selectionIndex_ = 1;
    QPalette system_;

    QListWidget* list_;
    VxEditColourWell* foreground_;
    VxEditColourWell* background_;
    QCheckBox* foreAutomatic_;
    QCheckBox* backAutomatic_;
    QLabel* fontName_;
    QLabel* fontSize_;
    VxEditColourSample* sample_;
    QPushButton* chooseFont_;
    QPushButton* resetAll_;
};

class VxEdit;

// The text model's font-and-colours operation: the dialog on the model's
// language configuration; on OK the choice goes into the configuration and
// every text model on it (and so every view) is told that its font and
// colours changed. True when the user chose OK.
bool EditFontAndColours(VxEdit& model, QWidget* parent);
