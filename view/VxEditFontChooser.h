#pragma once

#include <QDialog>
#include <QFont>

class QLabel;
class QListWidget;
class QSpinBox;

// Picks the editor's font: a face (fixed-pitch faces listed first, since
// source code reads best in them) and a size in points. There is no style
// choice: the editor shows its font regular.
class VxEditFontChooser : public QDialog {
    Q_OBJECT
public:
    VxEditFontChooser(const QFont& font, QWidget* parent = nullptr);

    QFont SelectedFont() const;
    QListWidget* Faces() const { return faces_; }
    QSpinBox* Size() const { return size_; }

    // The faces in the order the chooser lists them.
    static QStringList OrderedFaces();

private:
    void UpdateSample();

    QListWidget* faces_;
    QSpinBox* size_;
    QLabel* sample_;
    QFont font_;
};
