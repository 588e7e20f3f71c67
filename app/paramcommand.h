// The parameter commands of the command line, run without the window on a plain core
// application: --params-save reads every parameter of a component and saves them to a file;
// --params-load reads a file and prints how it differs from the component, and with --yes writes
// the differences, each confirmed by its echo. A line for each problem goes to standard error,
// results to standard output; the exit code is 0 only when everything asked for was done and
// confirmed (for a load without --yes: when nothing differs), else 1.
#pragma once

#include "commandline.h"
#include "gimbalv2link.h"
#include "ravik.h"

#include <paramclient.h>
#include <paramfile.h>

#include <QObject>
#include <QTimer>

class ParamCommand : public QObject
{
    Q_OBJECT

public:
    explicit ParamCommand(const StartOptions &options, QObject *parent = nullptr);
    // The controller closes the link as it goes, after the rest of this object is gone.
    ~ParamCommand() override;

    // Runs the command on the application's event loop and returns the exit code.
    static int run(const StartOptions &options);

    // Opens the link and starts; finished() follows.
    void start();

signals:
    void finished(int exitCode);

private:
    void answered();
    void downloadEnded(ParamComponent *component);
    void save();
    void compare();
    void writeEnded(ParamComponent *component);
    void linkChanged();
    // A line on standard error; the command ends with 1.
    void fail(const QString &problem);
    void problem(const QString &problem);
    void say(const QString &line);
    void finish(int exitCode);

    StartOptions m_options;
    Ravik m_ravik;
    GimbalV2Link m_v2;
    ParamClient m_client;
    ParamFileContents m_file;
    ParamComponent *m_target = nullptr;
    // Lines that make the exit code 1 whatever else succeeds.
    int m_problems = 0;
    bool m_done = false;
    QTimer m_answerWait;
};
