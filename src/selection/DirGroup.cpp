#include "selection/DirGroup.h"

#include "selection/DirListing.h"

#include <QLayout>
#include <QRadioButton>
#include <QVBoxLayout>

DirGroup::DirGroup(QString title)
    : dirLayout(new QVBoxLayout)
{
    setTitle(title);
    rootDirPath = firmwareRoot();
}

DirGroup::~DirGroup()
{
    // Until the first listing installs it, no widget owns the layout.
    if (!dirLayout->parent())
        delete dirLayout;
}

void DirGroup::listAllDir(QString dstDirPath)
{
    // A shown group shows each new button from the event queue and lays
    // itself out again for every one: quadratic in the number of entries.
    // Rebuilt hidden, it shows and lays out all of them in one pass. No
    // event is handled in between, so nobody sees it gone.
    const bool shown = isVisible();
    if (shown)
        hide();
    clearLayout(dirLayout);
    radioButtonList.clear();
    addButtons(listDirEntries(dstDirPath));
    dirLayout->addStretch(1);
    setLayout(dirLayout);
    if (shown)
        show();
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

void DirGroup::addButtons(const QStringList &names)
{
    for (const QString &name : names) {
        auto *button = new QRadioButton(name);
        button->setObjectName(name);
        radioButtonList.append(button);
        dirLayout->addWidget(button);
        connect(button, SIGNAL(toggled(bool)), this, SLOT(pickDirName(bool)));
    }
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
