#pragma once

#include <QLabel>
#include <QString>

// Plain text that is never cut: it wraps at spaces and, inside a long name
// or path, wherever it must, and asks for the height that takes at its
// width (a window does not on its own).
class WrappingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WrappingLabel(QWidget *parent = nullptr);

    void setWholeText(const QString &text);
    QString wholeText() const { return whole; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void holdHeight();

    QString whole;
};
