#pragma once
// The CSV writer: the open list laid out by a "csv" list format, one line per
// band, fields joined by the format's column separator, in the system code
// page with CR LF. Runs on its own thread; the batch job and the main window
// start it and handle its end on the main thread.
#include <QThread>

#include <string>

namespace formats {
class TListFormatModule;
class TOutputPlan;
}  // namespace formats

namespace app {
class TOpenList;
class TListValues;
struct TDataModules;
}  // namespace app

namespace output {

// What one output reads: the list through its output read set, the current
// format with its page context and value providers, and the plan built for it.
struct TOutputJob {
    app::TOpenList &List;
    formats::TListFormatModule &Format;
    formats::TOutputPlan &Plan;
    app::TListValues &Values;
};

// Page context, value providers and output plan of the current format, as
// every output command sets them up before its worker starts.
void PrepareOutput(app::TDataModules &modules, app::TOpenList &list, app::TListValues &values,
                   formats::TOutputPlan &plan);

// The format's date separator and decimal sign in place of the start-up ones
// for the life of the object, process-wide; the previous ones come back on
// every exit. Raises before changing anything when an attribute is malformed.
class TFormatSeparators {
public:
    explicit TFormatSeparators(const formats::TListFormatModule &format);
    ~TFormatSeparators();
    TFormatSeparators(const TFormatSeparators &) = delete;
    TFormatSeparators &operator=(const TFormatSeparators &) = delete;

private:
    char PreviousDate, PreviousDecimal, PreviousTime;
};

// Writes the whole file; raises on a malformed separator (before the file is
// created) and on any input/output error (the file keeps what was written).
// Long lists are formatted on threads reading through read sets of their
// own; threads 0 lets the machine decide, 1 writes on the calling thread.
void WriteCsvFile(const std::string &target, const TOutputJob &job, int threads = 0);

class TCSVThread : public QThread {
    Q_OBJECT
public:
    TCSVThread(std::string target, const TOutputJob &job, QObject *parent = nullptr);

    const std::string &TargetFileName() const { return Target; }
    // Empty when the file was written; otherwise why it was not (complete).
    // Read it after finished().
    const std::string &Error() const { return ErrorText; }

protected:
    void run() override;

private:
    std::string Target;
    TOutputJob Job;
    std::string ErrorText;
};

}  // namespace output
