#include "view/VxEditQtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QMimeData* VxEditQtClipboard::MakeMimeData(const std::string& text, bool column)
{
    auto* data = new QMimeData();
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    data->setText(QString::fromUtf8(bytes));
    data->setData(QString::fromLatin1(kBytesFormat), bytes);
    if (column)
        data->setData(QString::fromLatin1(kColumnFormat), bytes);
    return data;
}

bool VxEditQtClipboard::ReadMimeData(const QMimeData* data, std::string& text, bool& column)
{
    if (!data || !data->hasText())
        return false;
    const QByteArray bytes = data->hasFormat(QString::fromLatin1(kBytesFormat))
                                 ? data->data(QString::fromLatin1(kBytesFormat))
                                 : data->text().toUtf8();
    text.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    column = data->hasFormat(QString::fromLatin1(kColumnFormat));
    return true;
}

void VxEditQtClipboard::SetText(const std::string& text, bool column)
{
    QGuiApplication::clipboard()->setMimeData(MakeMimeData(text, column));
}

void VxEditQtClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

bool VxEditQtClipboard::GetText(std::string& text, bool& column) const
{
    return ReadMimeData(QGuiApplication::clipboard()->mimeData(), text, column);
}

bool VxEditQtClipboard::HasText() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}
