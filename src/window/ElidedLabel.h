#pragma once

#include <QLabel>
#include <QString>

// One line of plain text cut to the width it is given, never widening its
// window however long the text; the whole text is its tooltip.
class ElidedLabel : public QLabel
{
    Q_OBJECT

public:
    explicit ElidedLabel(Qt::TextElideMode mode, QWidget *parent = nullptr);

    void setFullText(const QString &text);
    QString fullText() const { return full; }
    // The width the whole text needs, to the pixel above: text is cut where
    // it lacks a fraction of one.
    int fullWidth() const;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void refit();

    Qt::TextElideMode mode;
    QString full;
};
