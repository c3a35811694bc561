// Pictures of the controls for review: written when QRX_CONTROLS_SHOT_DIR names a folder.
#include "controls/artwork_resources.h"
#include "controls/imagebuttons.h"
#include "controls/smallcontrols.h"
#include "controls/sortlistview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

namespace {

TEST(ControlShots, RenderEachControl)
{
    const QString dir = qEnvironmentVariable("QRX_CONTROLS_SHOT_DIR");
    if (dir.isEmpty()) {
        GTEST_SKIP() << "QRX_CONTROLS_SHOT_DIR not set";
    }
    QDir().mkpath(dir);
    auto save
        = [&](QWidget& w, const QString& name) { EXPECT_TRUE(w.grab().save(dir + u'/' + name + u".png")); };

    // Page buttons on the page background, in their states.
    QLabel page;
    page.setPixmap(QPixmap::fromImage(LoadArtwork(QStringLiteral("ImgFrameBG"))));
    page.resize(600, 323);
    const char* captions[] = { "Exit", "Back", "Next", "Disabled" };
    QList<TTrifaceBtn*> btns;
    for (int i = 0; i < 4; ++i) {
        auto* b = new TTrifaceBtn(&page);
        b->SetFace(LoadArtwork(QStringLiteral("ImgBtnN")));
        b->SetFaceOver(LoadArtwork(QStringLiteral("ImgBtnH")));
        b->SetFaceDown(LoadArtwork(QStringLiteral("ImgBtnD")));
        b->SetAutoShape(true);
        b->setText(QString::fromLatin1(captions[i]));
        b->move(40 + i * 100, 292);
        btns.append(b);
    }
    btns[3]->setEnabled(false);
    page.show();
    QMouseEvent move(QEvent::MouseMove, QPointF(40, 10), QPointF(40, 10), Qt::NoButton, Qt::NoButton, {});
    QApplication::sendEvent(btns[1], &move);
    btns[2]->setDown(true);
    save(page, QStringLiteral("TTrifaceBtn_page"));

    // Launcher.
    QLabel launcher;
    launcher.setPixmap(QPixmap::fromImage(LoadArtwork(QStringLiteral("ImgBGAutorun"))));
    launcher.resize(600, 450);
    const char* names[] = { "ImgBtnSetupWizard", "ImgBtnUG", "ImgBtnProductReg", "ImgBtnExit" };
    int y = 150;
    for (const char* n : names) {
        auto* b = new TTrifaceBtn(&launcher);
        b->SetFace(LoadArtwork(QString::fromLatin1(n) + u'N'));
        b->SetFaceOver(LoadArtwork(QString::fromLatin1(n) + u'D'));
        b->SetFaceDown(LoadArtwork(QString::fromLatin1(n) + u'D'));
        b->SetAutoShape(true);
        b->move(356, y);
        y += b->height() + 8;
        if (QString::fromLatin1(n) == QStringLiteral("ImgBtnUG")) {
            auto* src0 = new QLabel(&launcher);
            auto* src1 = new QLabel(&launcher);
            src0->hide();
            src1->hide();
            src0->setPixmap(QPixmap::fromImage(LoadArtwork(QStringLiteral("ImgBtnUG_UGN"))));
            src1->setPixmap(QPixmap::fromImage(LoadArtwork(QStringLiteral("ImgBtnUG_UGD"))));
            for (int k = 0; k < 2; ++k) {
                auto* e = new TKestImage(&launcher);
                e->SetImageSource(TKestImage::isrcImage);
                e->SetMouseOverEffect(true);
                if (k == 1) {
                    src0 = new QLabel(&launcher);
                    src0->hide();
                    src0->setPixmap(QPixmap::fromImage(LoadArtwork(QStringLiteral("ImgBtnUG_QIGN"))));
                    src1 = new QLabel(&launcher);
                    src1->hide();
                    src1->setPixmap(QPixmap::fromImage(LoadArtwork(QStringLiteral("ImgBtnUG_QIGD"))));
                }
                e->SetImage(0, src0);
                e->SetImage(1, src1);
                e->setGeometry(356, y, 198, 21);
                if (k == 0) {
                    e->MouseEntered();
                }
                y += 24;
            }
        }
    }
    launcher.show();
    save(launcher, QStringLiteral("Launcher_buttons"));

    // Survey-like list.
    TSortListView list;
    list.resize(520, 170);
    list.SetGridLines(true);
    QList<QPixmap> icons;
    for (int i = 0; i < 9; ++i) {
        icons.append(QPixmap::fromImage(LoadArtwork(QStringLiteral("ImgsType"), i)));
    }
    list.SetSmallImages(icons);
    list.AddColumn(QString(), 30);
    list.AddColumn(QStringLiteral("SSID"), 115);
    list.AddColumn(QStringLiteral("Channel"), 50, Qt::AlignHCenter);
    list.AddColumn(QStringLiteral("Signal"), 60);
    list.AddColumn(QStringLiteral("Encryption"), 70, Qt::AlignHCenter);
    list.AddColumn(QStringLiteral("Authentication"), 80, Qt::AlignHCenter);
    list.AddColumn(QStringLiteral("BSSID"), 110);
    list.SetIncBMP(LoadArtwork(QStringLiteral("IncBMP")));
    list.SetDecBMP(LoadArtwork(QStringLiteral("DecBMP")));
    list.SetIncrease(false);
    list.SetSortColunm(3);
    list.SetSkipSort1(0);
    struct Row
    {
        const char* ssid;
        int ch, sig, icon;
        const char* enc;
        const char* auth;
    };
    const Row rows[]
        = { { "Office-5F", 6, 92, 2, "AES", "WPA2-PSK" }, { "Guest", 11, 64, 0, "Not Use", "OPEN" },
              { "Lab-Bridge", 1, 45, 3, "TKIP", "WPA-PSK" }, { "Printer", 3, 12, 1, "WEP", "" } };
    for (const Row& r : rows) {
        QTreeWidgetItem* it
            = list.AddRow({ QString(), QString::fromLatin1(r.ssid), QString::number(r.ch),
                              QStringLiteral("%1%").arg(r.sig), QString::fromLatin1(r.enc),
                              QString::fromLatin1(r.auth), QStringLiteral("00:11:22:33:44:55") },
                r.sig, r.icon);
        list.SetCellImage(it, 3, 4 + std::min(r.sig / 20, 4));
    }
    list.SetOnCustomDraw([&](QPainter& p, const QRect& area) {
        int h = list.RowCount() ? list.RowRect(list.Row(0)).height() : 17;
        int idx = 0;
        for (int yy = 0; yy < area.bottom(); yy += h, ++idx) {
            p.fillRect(QRect(area.left(), yy, area.width(), h), idx % 2 ? QColor(255, 255, 225) : Qt::white);
        }
    });
    list.SetOnDrawItem([&](QPainter& p, QTreeWidgetItem* item, const QRect& row, bool selected) {
        if (selected) {
            p.setPen(QColor(152, 181, 226));
            p.setBrush(QColor(229, 236, 248));
            p.drawRect(row.adjusted(0, 0, -1, -2));
        }
        p.setPen(item->text(1) == QStringLiteral("Guest") ? Qt::blue : Qt::black);
        int x = row.left() + 1;
        for (int c = 0; c < list.columnCount(); ++c) {
            const int w = list.columnWidth(c);
            QRect cell(x, row.top(), w - 1, row.height() - 1);
            x += w;
            const int img = TSortListView::CellImage(item, c);
            if (img >= 0) {
                p.drawPixmap(cell.left() + 1, cell.top(), icons.at(img));
                cell.setLeft(cell.left() + 17);
            }
            TSortListView::SubItemTextOut(p, item->text(c), cell, list.ColumnAlignment(c));
        }
    });
    list.SortRows();
    list.Row(1)->setSelected(true);
    list.show();
    save(list, QStringLiteral("TSortListView_survey"));

    TSortListView devs;
    devs.resize(480, 120);
    devs.SetGridLines(true);
    devs.AddColumn(QStringLiteral("Name"), 300);
    devs.AddColumn(QStringLiteral("MAC Address"), 168);
    devs.AddRow({ QStringLiteral("QRX-512"), QStringLiteral("00:0E:2E:11:22:33") });
    devs.AddRow({ QStringLiteral("QRX-512 (Lobby)"), QStringLiteral("00:0E:2E:44:55:66") });
    devs.SetIncBMP(LoadArtwork(QStringLiteral("IncBMP")));
    devs.SetDecBMP(LoadArtwork(QStringLiteral("DecBMP")));
    devs.show();
    save(devs, QStringLiteral("TSortListView_devices"));

    // Small controls.
    QWidget small;
    small.resize(360, 120);
    auto* e1 = new TCenterEdit(&small);
    e1->setGeometry(10, 10, 40, 21);
    e1->setText(QStringLiteral("192"));
    auto* lbl = new TEllipsisLabel(&small);
    lbl->setGeometry(60, 10, 180, 21);
    lbl->setText(QStringLiteral("/media/cdrom/Documents/Manual/UserGuide.pdf"));
    lbl->SetEllipsisPath(true);
    auto* panel = new TPaintPanel(&small);
    panel->setGeometry(10, 45, 160, 60);
    panel->setAutoFillBackground(true);
    panel->setPalette(QPalette(Qt::white));
    panel->SetCaption(QStringLiteral("Searching..."));
    auto* c1 = new TColorBtn(&small);
    c1->setGeometry(190, 45, 75, 25);
    c1->setText(QStringLiteral("OK"));
    auto* c2 = new TColorBtn(&small);
    c2->setGeometry(270, 45, 75, 25);
    c2->setText(QStringLiteral("Cancel"));
    c2->setEnabled(false);
    small.show();
    save(small, QStringLiteral("Small_controls"));
}

} // namespace
