#include "app/CAboutDlg.h"

#include "app/CStaticURL.h"
#include "app/CommandIcons.h"
#include "resources/CommandIds.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent), link_(new CStaticURL(tr("OpenJDK: the Java development kit"),
                                            QString::fromLatin1(kLinkAddress)))
{
    setWindowTitle(tr("About Quillet"));
    setAccessibleName(windowTitle());

    auto* icon = new QLabel;
    icon->setPixmap(CommandIcon(cmd::kAppAbout).pixmap(48, 48));
    icon->setAccessibleName(tr("Quillet"));
    auto* version = new QLabel(QString::fromLatin1(kVersionText));
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);
    auto* qt = new QLabel(tr("Built with Qt %1").arg(QString::fromLatin1(QT_VERSION_STR)));
    auto* about = new QLabel(tr("A source-code editor for Java, HTML and JavaScript files,\n"
                                "with a front end for the JDK's javac, java and jdb.\n"
                                "Copyright (C) Tarrow Samples"));
    for (QLabel* label : {version, qt, about})
        label->setAccessibleName(label->text());

    auto* texts = new QVBoxLayout;
    texts->addWidget(version);
    texts->addWidget(qt);
    texts->addWidget(about);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    // Return closes the box, as in every message box; the link is a Tab away.
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setDefault(true);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(link_);
    layout->addWidget(buttons);
    setTabOrder(ok, link_);
    ok->setFocus();
    layout->setSizeConstraint(QLayout::SetFixedSize);
}
