#include "manage/palettemime.h"

#include <QByteArray>
#include <QList>
#include <QMimeData>
#include <QString>

namespace pigmora::ui {

// The payload is text: "red,green,blue,sourceCell".

QMimeData *encodePaletteDrag(const PaletteDrag &drag)
{
    auto *data = new QMimeData;
    const QByteArray payload = QByteArray::number(drag.color.red) + ',' + QByteArray::number(drag.color.green) + ','
        + QByteArray::number(drag.color.blue) + ',' + QByteArray::number(drag.sourceCell);
    data->setData(QString::fromLatin1(kPaletteDragMimeType), payload);
    return data;
}

std::optional<PaletteDrag> decodePaletteDrag(const QMimeData *data)
{
    const QString type = QString::fromLatin1(kPaletteDragMimeType);
    if (data == nullptr || !data->hasFormat(type))
        return std::nullopt;
    const QList<QByteArray> fields = data->data(type).split(',');
    if (fields.size() != 4)
        return std::nullopt;
    int values[4] = {};
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        values[i] = fields[i].toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    for (int i = 0; i < 3; ++i) {
        if (values[i] < 0 || values[i] > 255)
            return std::nullopt;
    }
    if (values[3] < -1 || values[3] > 99)
        return std::nullopt;
    return PaletteDrag{RgbColor{values[0], values[1], values[2]}, values[3]};
}

} // namespace pigmora::ui
