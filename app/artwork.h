// The pictures carried in the program (Qt resources under ":/art").
#pragma once

#include <QPixmap>
#include <QString>

class QMovie;
class QObject;

namespace tavlo {

// Registers the resources; once, before the first picture is read.
void init_artwork();
// The picture `name` (file name without ".gif"), or a plain stand-in of `size` when the
// program carries no such picture.
QPixmap art(const QString& name, QSize size);
// The animated picture `name`, started; nullptr when missing.
QMovie* art_movie(const QString& name, QObject* parent);
bool art_exists(const QString& name);

}  // namespace tavlo
