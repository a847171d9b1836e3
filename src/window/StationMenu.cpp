#include "window/StationMenu.h"

#include "window/ElidedLabel.h"
#include "window/HistoryDialog.h"
#include "window/HistoryStatus.h"
#include "window/MenuCorner.h"
#include "window/RunWords.h"

#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>

StationMenu::StationMenu(QWidget *parentWindow, QMenuBar *menuBar, StationPolicy &policy)
    : QObject(parentWindow)
    , window(parentWindow)
    , station(policy)
{
    menuBar->setNativeMenuBar(false);
    QMenu *menu = menuBar->addMenu(tr("&Station"));
    QAction *showHistory = menu->addAction(tr("&History…"), this, &StationMenu::showHistory);
    showHistory->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    signInAction = menu->addAction(tr("Sign &in…"), this, [this] { signIn(); });
    signInAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    signOutAction = menu->addAction(tr("Sign &out"), station.operatorSession(), &OperatorSession::signOut);
    signOutAction->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_I));
    history = new HistoryStatus;
    // Short of room, the order is cut before whether anyone is signed in.
    stationLine = new ElidedLabel(Qt::ElideLeft);
    stationLine->setObjectName(QStringLiteral("stationLine"));
    stationLine->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    menuBar->setCornerWidget(new MenuCorner({stationLine, history}));
}

void StationMenu::showStation()
{
    const bool asked = station.settings().operatorRequired;
    signInAction->setVisible(asked);
    signOutAction->setVisible(asked);
    signOutAction->setEnabled(station.operatorSession()->state() == OperatorSession::State::SignedIn);
    stationLine->setFullText(RunWords::corner(station));
    stationLine->setVisible(!stationLine->fullText().isEmpty());
}

void StationMenu::countToday()
{
    history->refresh();
}

void StationMenu::recorded(const QString &problem)
{
    history->refresh(problem);
}

// Asked again, saying why, until the ID is one or the dialog is closed.
void StationMenu::signIn(const QString &refused)
{
    const QString ask = tr("Operator ID (type or scan):");
    askOperator(tr("Sign in"), refused.isEmpty() ? ask : refused + QLatin1Char('\n') + ask,
                [this](const QString &id) {
                    const OperatorSession::Refused why = station.operatorSession()->signIn(id);
                    if (why)
                        QTimer::singleShot(0, this, [this, id, why] {
                            signIn(why.notListed ? RunWords::notListed(id)
                                                 : RunWords::notAnOperator(id, why.text));
                        });
                });
}

void StationMenu::askStopper(std::function<void(const QString &id)> stop)
{
    askOperator(tr("Stop updater"), RunWords::askStopper(), std::move(stop));
}

void StationMenu::askOperator(const QString &title, const QString &ask,
                              std::function<void(const QString &id)> taken)
{
    auto *dialog = new QInputDialog(window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(title);
    dialog->setLabelText(ask);
    // A long question wraps: on one line it is wider than a small screen.
    dialog->findChild<QLabel *>()->setWordWrap(true);
    dialog->setInputMode(QInputDialog::TextInput);
    dialog->findChild<QLineEdit *>()->setAccessibleName(tr("Operator"));
    connect(dialog, &QInputDialog::textValueSelected, this, [taken = std::move(taken)](const QString &id) {
        if (!id.trimmed().isEmpty())
            taken(id);
    });
    dialog->open();
}

void StationMenu::showHistory()
{
    if (!historyDialog)
        historyDialog = new HistoryDialog(window);
    historyDialog->reload();
    historyDialog->show();
    historyDialog->raise();
    historyDialog->activateWindow();
}
