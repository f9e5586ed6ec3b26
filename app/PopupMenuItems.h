#pragma once
// Loads the numbered items of a pop-up menu: each caption becomes an item
// whose data is its number ("-" a separator that still takes a number), and
// a tick state per item when given (-1 none, 0 unticked, 1 ticked).
#include <QAction>
#include <QList>
#include <QMenu>
#include <QStringList>

namespace qv {

inline void addNumberedMenuItems(QMenu& menu, const QStringList& captions, int firstNumber,
                                 const QList<int>& ticks = {}) {
    int k = firstNumber;
    for (qsizetype i = 0; i < captions.size(); ++i) {
        const bool separator = captions[i] == QStringLiteral("-");
        QAction* a = separator ? menu.addSeparator() : menu.addAction(captions[i]);
        a->setData(k++);
        if (!separator && i < ticks.size() && ticks[i] >= 0) {
            a->setCheckable(true);
            a->setChecked(ticks[i] == 1);
        }
    }
}

}  // namespace qv
