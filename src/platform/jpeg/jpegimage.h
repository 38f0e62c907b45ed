#pragma once

#include <QImage>
#include <QString>

class QByteArray;

// A JPEG decoded by libjpeg: greyscale pictures come out as Format_Grayscale8, colour ones
// (YCbCr, RGB, CMYK) as Format_RGB32. Data that is not a whole JPEG gives a null image and, when
// error is given, libjpeg's reason; the decoder never ends the program.
QImage decodeJpeg(const QByteArray &data, QString *error = nullptr);
// The same for a file, a Qt resource among them; a file that cannot be read is an error too.
QImage decodeJpegFile(const QString &fileName, QString *error = nullptr);
