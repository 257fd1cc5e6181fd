#pragma once

#include <QList>
#include <QUrl>

class QMimeData;

// What a drag over the home window carries that the window can open.
namespace WelcomeDrop {

// The local files among the dragged URLs, in drag order; web addresses and
// other items are dropped without a word.
QList<QUrl> fileUrls(const QMimeData* data);
// Whether the drag is worth highlighting the drop zone for.
bool offersFiles(const QMimeData* data);

} // namespace WelcomeDrop
