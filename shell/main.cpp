// restcont-host: the host application that launches the screen package.
#include "shell/CalcOutcome.h"
#include "shell/MessageHandler.h"
#include "shell/PackageLoader.h"
#include "shell/RunRequirements.h"
#include "shell/ShellMenu.h"
#include "shell/ShellOptions.h"

#include "host/app/QtTranslations.h"
#include "host/app/TApplication.h"
#include "host/app/TForm.h"
#include "host/context/FormatSettings.h"
#include "host/context/OperatorContext.h"
#include "host/context/SettingsKeys.h"
#include "host/core/Refusal.h"

#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QMainWindow>
#include <QPixmap>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>

using namespace Qt::StringLiterals;

namespace {

constexpr int kFailure = 2;

void print(std::FILE* stream, const QString& text) {
    std::fputs(text.toUtf8().constData(), stream);
    std::fflush(stream);
}

int fail(const QString& message) {
    print(stderr, u"restcont-host: %1\n"_s.arg(message));
    return kFailure;
}

// Without a display the platform is chosen before the application exists.
void choosePlatform() {
    if (std::getenv("QT_QPA_PLATFORM"))
        return;
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if ((!x11 || !*x11) && (!wayland || !*wayland))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

void applyOverrides(const shell::ShellOptions& options) {
    auto& context = host::OperatorContext::instance();
    if (options.database)
        context.set(host::keys::kDatabasePath, *options.database);
    if (options.serverHost)
        context.set(host::keys::kServerHost, *options.serverHost);
    if (options.serverPort)
        context.set(host::keys::kServerPort, QString::number(*options.serverPort));
    if (options.operatorCode)
        context.set(host::keys::kOperatorCode, *options.operatorCode);
    if (options.operatorBranch)
        context.set(host::keys::kOperatorBranch, *options.operatorBranch);
    if (options.secretFile)
        context.set(host::keys::kServerSecretFile, *options.secretFile);
}

// The settings file, then the options over it. Only a file the command line named must exist: the
// default one beside the executable is a convenience, and a run may come from the options alone.
void readSettings(const shell::ShellOptions& options) {
    auto& context = host::OperatorContext::instance();
    if (options.settingsGiven || QFileInfo::exists(options.settingsFile))
        context.loadSettingsFile(options.settingsFile);
    applyOverrides(options);
    shell::checkRunRequirements(options);
    // Qt's own widgets and dialogs follow the host's format settings, not the machine's LANG.
    QLocale::setDefault(host::FormatSettings());
    host::InstallQtTranslations(host::FormatSettings());
}

// The shell's part after the screen's first activation: the picture, the calculation outcome and,
// when nobody can use the screen, the end of the run.
class FirstActivation {
public:
    FirstActivation(const shell::ShellOptions& options, const bool& cell) : options_(options), cell_(cell) {}

    void handle(host::TForm* form, bool completed) {
        if (done_)
            return;
        done_ = true;
        if (!options_.screenshot.isEmpty()) {
            QWidget* window = form->FormWindow()->window();
            if (!window->grab().save(options_.screenshot, "PNG"))
                status_ =
                    fail(u"Não foi possível gravar a imagem da tela em '%1'."_s.arg(options_.screenshot));
            else
                print(stdout, u"Imagem da tela gravada em %1\n"_s.arg(options_.screenshot));
        }
        const bool calculation = options_.calculation();
        if (calculation) {
            const shell::CalcOutcome outcome = shell::calcOutcome(completed, cell_);
            print(stdout, shell::describe(outcome) + u'\n');
            if (outcome == shell::CalcOutcome::Failed && options_.servico) {
                const QString missing = shell::missingServiceText(*form, *options_.servico, launchBranch());
                if (!missing.isEmpty())
                    fail(missing);
            }
            if (outcome == shell::CalcOutcome::Blocked)
                print(stdout, shell::infringementsText(*form));
            if (status_ == 0)
                status_ = static_cast<int>(outcome);
        }
        if (!options_.screenshot.isEmpty() || host::Headless()) {
            finished_ = true;
            // After the close request a clear outcome may have posted.
            QTimer::singleShot(0, [this] { QCoreApplication::exit(status_); });
        } else if (calculation) {
            // The caller goes on once the screen is gone: at once for a clear menu, which closes by
            // itself, or when the user closes a blocked or failed one.
            QObject::connect(form, &QObject::destroyed, [this] { QCoreApplication::exit(status_); });
        }
    }

    bool finished() const { return finished_; }

    // The branch the screen was launched on: the operator's own when none was given.
    QString launchBranch() const {
        const QString given = options_.filial.value_or(QString()).trimmed();
        return given.isEmpty() ? host::FiliProc() : given;
    }
    int status() const { return status_; }

private:
    const shell::ShellOptions& options_;
    const bool& cell_;
    bool done_ = false;
    bool finished_ = false;
    int status_ = 0;
};

} // namespace

int main(int argc, char** argv) {
    shell::installMessageHandler(shell::wantsQtMessages(argc, argv));
    choosePlatform();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"restcont-host"_s);
    QApplication::setQuitOnLastWindowClosed(true);

    shell::ShellOptions options;
    try {
        options = shell::parseShellOptions(app.arguments().mid(1), QCoreApplication::applicationDirPath());
    } catch (const host::Refusal& refusal) {
        return fail(refusal.message() + u"\nUse --help para ver as opções."_s);
    }
    if (options.help) {
        print(stdout, shell::helpText());
        return 0;
    }
    try {
        readSettings(options);
    } catch (const host::Refusal& refusal) {
        return fail(refusal.message());
    }

    std::optional<shell::PackageLoader> package;
    try {
        package.emplace(options.packageFile);
    } catch (const host::Refusal& refusal) {
        return fail(refusal.message());
    }

    // The caller's outcome cell of the calculation mode; it lives as long as the shell.
    bool outcome = false;
    FirstActivation firstActivation(options, outcome);
    host::TApplication& application = host::Application();
    QObject::connect(
        &application, &host::TApplication::formActivated, &application,
        [&firstActivation](host::TForm* form, bool completed) { firstActivation.handle(form, completed); });
    // Reopening is an interactive launch, whatever the command line asked for the first one.
    shell::AddFileMenu(*application.MainForm(), application.HelpMenu(),
                       [&package] { package->iniProc(QVariant()); });
    application.MainForm()->show();

    int status = 0;
    try {
        package->iniProc(shell::launchValue(options, &outcome));
    } catch (const std::exception& e) {
        const auto* refusal = dynamic_cast<const host::Refusal*>(&e);
        status = fail(refusal ? refusal->message() : QString::fromUtf8(e.what()));
    }
    if (status == 0)
        status = firstActivation.finished() ? firstActivation.status() : app.exec();
    // Forms go before the unload step runs; the package itself stays mapped until the process ends.
    application.shutdown();
    package->finalize();
    return status;
}
