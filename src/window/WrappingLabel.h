#pragma once

#include <QLabel>
#include <QString>

#include <functional>

// Plain text that is never cut: it wraps at spaces and, inside a name or
// path too long for a line, wherever it must, and asks for the height that
// takes at its width (a window does not on its own).
class WrappingLabel : public QLabel
{
    Q_OBJECT

public:
    explicit WrappingLabel(QWidget *parent = nullptr);

    void setWholeText(const QString &text);
    QString wholeText() const { return whole; }

    // The text with a zero-width space after each character of every word
    // that does not fit a line: a break there, where nothing else would do.
    static QString breakable(const QString &text, const std::function<bool(const QString &word)> &fits);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitText();

    QString whole;
};
