#pragma once

#include <QObject>
#include <QString>

class StationPolicy;
class StationRun;

// The bench as the technician sees it: the panel in front of them and where
// it stands, the next panel where one was scanned early, whether the last
// result shown is still the one to look at, and what keeps the station from
// starting anything. The window draws the panel's surfaces from it, and asks
// it what a scan is: a press of this panel, or the next panel's serial.
class Bench : public QObject
{
    Q_OBJECT

public:
    enum class Stage {
        AwaitingScan,
        Scanned,
        // A question about the press is open.
        Asked,
        // The press was turned away before anything began.
        Refused,
        Checking,
        Running,
        // The run ended, or the press ended without one: its result shown.
        Ended,
    };
    // What a scan ending with Enter is.
    enum class Scan {
        // The panel in front: press UpdateFW for it.
        Press,
        // The next panel's, kept until the press in hand is over.
        Next,
    };
    // What keeps the station from starting anything, until it is fixed.
    enum class Fault { None, Settings, Release };

    explicit Bench(QObject *parent = nullptr);

    // Told by the station run, and its station's settings, from now on.
    void follow(const StationRun *run);
    static Fault faultOf(const StationPolicy &policy);

    Stage stage() const { return current; }
    // The serial of the panel in front of the technician, or being run.
    const QString &panel() const { return panelSerial; }
    const QString &next() const { return nextSerial; }
    bool showsResult() const { return resultShown; }
    Fault fault() const { return standing; }

    Scan scan(const QString &serial);
    // A notice or question of the window is open: a scan is the next panel's.
    void setDialogOpen(bool open);
    // The station run takes a press only when idle: while it looks the
    // panel up, reads its leaf or the release, or tells a run's end, a scan
    // is the next panel's.
    void setStationIdle(bool idle);
    void setFault(Fault fault);

public slots:
    // A serial is being typed by hand.
    void typed();
    void leafChosen();

    void asked();
    // The question was answered No: the panel is as it was scanned.
    void declined();
    void refused();
    void begun();
    void running();
    void ended();
    // The press's end is told and its notices closed: a next panel scanned
    // meanwhile is the one in front now.
    void told();

signals:
    void faultChanged();
    // The last panel's result is no longer the one in front.
    void resultPutAway();

private:
    bool pressInHand() const;
    void enter(Stage stage);
    void putAwayResult();

    Stage current = Stage::AwaitingScan;
    QString panelSerial;
    QString nextSerial;
    bool resultShown = false;
    bool dialogOpen = false;
    bool stationIdle = true;
    Fault standing = Fault::None;
};
