#include "selection/DirGroup.h"

#include "selection/DirListing.h"
#include "selection/FolderReader.h"
#include "selection/NameDisplay.h"
#include "selection/NameFit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <utility>

DirGroup::DirGroup(QString title)
    : dirLayout(new QVBoxLayout)
    , waitingLine(new QLabel)
    , reader(new FolderReader(this))
    , choices(new QButtonGroup(this))
{
    setTitle(title);
    rootDirPath = firmwareRoot();

    waitingLine->setObjectName(QStringLiteral("waitingLine"));
    waitingLine->setTextFormat(Qt::PlainText);
    waitingLine->setWordWrap(true);
    waitingLine->hide();
    auto *frame = new QVBoxLayout(this);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->addWidget(waitingLine);
    connect(reader, &FolderReader::answered, this, &DirGroup::showListing);
    connect(reader, &FolderReader::waiting, this, [this](const QString &text) {
        waitingLine->setText(text);
        waitingLine->show();
    });
    // Moving through the buttons with the keyboard brings each into view.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (now && scrollArea && scrollArea->widget()->isAncestorOf(now))
            scrollArea->ensureWidgetVisible(now);
    });
}

DirGroup::~DirGroup()
{
    // Until a listing with entries installs it, no widget owns the layout.
    if (!dirLayout->parent())
        delete dirLayout;
}

QString DirGroup::checkedName() const
{
    for (const QRadioButton *button : radioButtonList)
        if (button->isChecked())
            return button->objectName();
    return {};
}

int DirGroup::hiddenHeight() const
{
    return scrollArea ? qMax(0, scrollArea->widget()->sizeHint().height() - scrollArea->viewport()->height())
                      : 0;
}

int DirGroup::hiddenWidth() const
{
    return nameFit ? qMax(0, nameFit->widest() - nameRoom()) : 0;
}

QSize DirGroup::sizeHint() const
{
    // The title and frame around the column, and the column whole.
    const QMargins around = contentsMargins();
    return {QGroupBox::sizeHint().width(),
            around.top() + around.bottom() + (scrollArea ? scrollArea->widget()->sizeHint().height() : 0)};
}

void DirGroup::relist()
{
    list(listedDirPath, checkedName());
}

void DirGroup::recheck()
{
    // A folder whose answer is yet to come is not asked again.
    if (!listedDirPath.isEmpty() && !reader->isReading())
        list(listedDirPath, checkedName(), true);
}

void DirGroup::readAhead(FolderReader::Begun begun)
{
    reader->readAhead(std::move(begun));
}

void DirGroup::listAllDir(QString dstDirPath)
{
    list(dstDirPath, {});
}

void DirGroup::list(const QString &dstDirPath, const QString &keep, bool onlyChanges)
{
    listedDirPath = dstDirPath;
    keepChecked = keep;
    changesOnly = onlyChanges;
    if (const std::optional<FolderRead> read = reader->read(dstDirPath))
        return showListing(*read);
    // No choice of another folder stays on offer meanwhile; those of the
    // same folder do.
    if (onlyChanges)
        return;
    clearButtons();
}

void DirGroup::showListing(const FolderRead &read)
{
    waitingLine->hide();
    // The same listing again: its buttons stay, and it is not logged again.
    if (std::exchange(changesOnly, false) && read.path == shownRead.path && read.names == shownRead.names
        && read.unlisted == shownRead.unlisted)
        return;
    // A shown group shows each new button from the event queue and lays
    // itself out again for every one: quadratic in the number of entries.
    // Rebuilt hidden, it shows and lays out all of them in one pass. No
    // event is handled in between, so nobody sees it gone.
    const bool wasShown = isVisible();
    if (wasShown)
        hide();
    clearButtons();
    shownRead = read;
    const QStringList names = choicesOf(read, true);
    QStringList shown;
    for (const QString &name : names)
        shown.append(displayName(name));
    addButtons(names, shown);
    dirLayout->addStretch(1);
    if (!scrollArea && !names.isEmpty())
        makeColumn();
    nameFit = std::make_unique<NameFit>(shown, fontMetrics());
    fitNames();
    // By exact name: an empty one would match any button.
    for (QRadioButton *button : qAsConst(radioButtonList))
        if (!keepChecked.isEmpty() && button->objectName() == keepChecked) {
            const QSignalBlocker quiet(button);
            button->setChecked(true);
        }
    if (wasShown)
        show();
    emit listed();
}

void DirGroup::listSubDir(QString dstDirName)
{
    subDirName = dstDirName;
    listAllDir(rootDirPath + QLatin1Char('/') + dstDirName);
}

void DirGroup::pickDirName(bool checked)
{
    if (!checked)
        return;
    const auto *button = qobject_cast<const QRadioButton *>(sender());
    if (!button)
        return;
    const QString name = button->objectName();
    emit passDirName(name);
    emit passFullDirName(rootDirPath + QLatin1Char('/') + subDirName + QLatin1Char('/') + name);
}

// For the first listing with entries: a group with none to show shows
// nothing, and is built the sooner.
void DirGroup::makeColumn()
{
    scrollArea = new QScrollArea;
    scrollArea->setWidgetResizable(true);
    scrollArea->setFrameShape(QFrame::NoFrame);
    scrollArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // However many entries there are, or however long, the group takes the
    // room it is given and asks for no more.
    scrollArea->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Expanding);
    scrollArea->viewport()->setAutoFillBackground(false);
    // The buttons take the focus, and the area follows it: a stop of its own
    // would show nothing.
    scrollArea->setFocusPolicy(Qt::NoFocus);
    scrollArea->viewport()->installEventFilter(this);
    auto *column = new QWidget;
    column->setAutoFillBackground(false);
    column->setLayout(dirLayout);
    scrollArea->setWidget(column);
    layout()->addWidget(scrollArea);
}

bool DirGroup::eventFilter(QObject *watched, QEvent *event)
{
    if (scrollArea && watched == scrollArea->viewport() && event->type() == QEvent::Resize && nameFit)
        fitNames();
    return QGroupBox::eventFilter(watched, event);
}

// However many entries, no button has more than a section's worth of
// siblings: the toolkit weighs each shown button against every sibling
// after it, which over one column of thousands is quadratic.
constexpr int sectionSize = 100;

namespace {

// A single "&" would be taken as a shortcut mark.
QString buttonText(QString shown)
{
    return shown.replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

// Each button shows its name whole until it is fitted: a button's height,
// which the column's sections keep, is that of a line of text.
void DirGroup::addButtons(const QStringList &names, const QStringList &shown)
{
    QVBoxLayout *section = nullptr;
    for (int i = 0; i < names.size(); ++i) {
        const QString &name = names.at(i);
        if (radioButtonList.size() % sectionSize == 0) {
            auto *sectionWidget = new QWidget;
            section = new QVBoxLayout(sectionWidget);
            section->setContentsMargins(0, 0, 0, 0);
            dirLayout->addWidget(sectionWidget);
        }
        auto *button = new QRadioButton(buttonText(shown.at(i)));
        // The object name is the entry's own name, used for its path; the
        // text and tooltip only show it.
        button->setObjectName(name);
        // Plain text, never markup, whatever the name looks like.
        button->setToolTip(plainToolTip(shown.at(i)));
        // One choice across the sections.
        choices->addButton(button, radioButtonList.size());
        radioButtonList.append(button);
        section->addWidget(button);
        connect(button, SIGNAL(toggled(bool)), this, SLOT(pickDirName(bool)));
    }
}

// What a name may take beside its button's indicator.
int DirGroup::nameRoom() const
{
    const int indicator = style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth)
        + style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing);
    const QMargins margins = dirLayout->contentsMargins();
    const int width = scrollArea ? scrollArea->viewport()->width() : 0;
    return qMax(width - margins.left() - margins.right() - indicator - 4, 0);
}

// Each name as wide as the column allows, cut when longer, never reading
// the same as another: only those a new width changes are set again.
void DirGroup::fitNames()
{
    for (int i : nameFit->fitTo(nameRoom()))
        // A single "&" would be taken as a shortcut mark.
        radioButtonList.at(i)->setText(
            QString(nameFit->shown(i)).replace(QLatin1Char('&'), QLatin1String("&&")));
}

void DirGroup::clearButtons()
{
    // A new group: a button deleted from a group of thousands would look
    // itself up in it.
    delete choices;
    choices = new QButtonGroup(this);
    clearLayout(dirLayout);
    radioButtonList.clear();
    nameFit.reset();
    shownRead = {};
}

void DirGroup::clearLayout(QLayout *layout)
{
    // Every item leaves the layout before any widget is deleted: a deleted
    // widget is looked up in its parent's layout, which would make emptying
    // a long listing quadratic.
    QList<QLayoutItem *> items;
    while (QLayoutItem *item = layout->takeAt(0))
        items.append(item);
    for (QLayoutItem *item : items) {
        delete item->widget();
        if (QLayout *nested = item->layout())
            clearLayout(nested);
        delete item;
    }
}
