#pragma once

#include <QAbstractItemModel>
#include <QStringList>

// One role of every top-level row, in row order, as text.
inline QStringList modelTexts(const QAbstractItemModel *model, int role = Qt::DisplayRole)
{
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row)
        texts << model->index(row, 0).data(role).toString();
    return texts;
}
