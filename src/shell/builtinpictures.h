#pragma once
// The pictures built into the program (Qt resources), by the image form's component names.

#include <QImage>
#include <QList>
#include <QString>

// The resource path of the built-in picture of that name (the resources registered); empty for an
// unknown name.
QString BuiltInPicturePath(const QString& name);
// The nine 16 x 16 icons of the survey lists, in index order.
QList<QImage> BuiltInSurveyIcons();
