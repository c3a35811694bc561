#pragma once
// The pictures built into the program (Qt resources), by the image form's component names.

#include <QImage>
#include <QList>
#include <QString>

// The built-in picture of that name; a null image for an unknown name.
QImage BuiltInPicture(const QString& name);
// The nine 16 x 16 icons of the survey lists, in index order.
QList<QImage> BuiltInSurveyIcons();
