#include "view/VxEditQtClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

void VxEditQtClipboard::SetText(const std::string& text, bool column)
{
    auto* data = new QMimeData();
    const QByteArray bytes(text.data(), static_cast<qsizetype>(text.size()));
    data->setText(QString::fromUtf8(bytes));
    data->setData(QString::fromLatin1(kBytesFormat), bytes);
    if (column)
        data->setData(QString::fromLatin1(kColumnFormat), bytes);
    QGuiApplication::clipboard()->setMimeData(data);
}

void VxEditQtClipboard::Clear()
{
    QGuiApplication::clipboard()->clear();
}

bool VxEditQtClipboard::GetText(std::string& text, bool& column) const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!data || !data->hasText())
        return false;
    const QByteArray bytes = data->hasFormat(QString::fromLatin1(kBytesFormat))
                                 ? data->data(QString::fromLatin1(kBytesFormat))
                                 : data->text().toUtf8();
    text.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    column = data->hasFormat(QString::fromLatin1(kColumnFormat));
    return true;
}

bool VxEditQtClipboard::HasText() const
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText();
}
