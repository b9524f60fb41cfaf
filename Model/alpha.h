#pragma once

#include "Model/resource.h"

// A ZBrush alpha image with its pixel size and depth class.
class Alpha : public Resource
{
    Q_OBJECT
    Q_PROPERTY(int width READ width NOTIFY widthChanged)
    Q_PROPERTY(int height READ height NOTIFY heightChanged)
    Q_PROPERTY(int depth READ depth NOTIFY depthChanged)
    Q_PROPERTY(QString dimensions READ dimensions NOTIFY dimensionsChanged)
    Q_PROPERTY(bool ignore READ ignore WRITE setIgnore NOTIFY ignoreChanged)

public:
    static constexpr const char *alphaIconPath = "image://alphas/";

    explicit Alpha(const QString &name = QString(), const QString &path = QString(),
                   QObject *parent = nullptr);

    void refresh() override;

    int width() const { return m_width; }
    void setWidth(int width);
    int height() const { return m_height; }
    void setHeight(int height);
    int depth() const { return m_depth; }
    void setDepth(int depth);
    QString dimensions() const;
    bool ignore() const { return m_ignore; }
    void setIgnore(bool ignore);

signals:
    void widthChanged();
    void heightChanged();
    void depthChanged();
    void dimensionsChanged();
    void ignoreChanged();

private:
    void updateDimensions();

    int m_width = 0;
    int m_height = 0;
    int m_depth = 0;
    bool m_ignore = false;
};
