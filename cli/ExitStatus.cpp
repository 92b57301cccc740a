#include "cli/ExitStatus.h"

#include "mail/IdExceptions.h"
#include "mail/IdTlsErrors.h"

ExitStatus ExitStatusFor(const std::exception_ptr& error)
{
    try {
        std::rethrow_exception(error);
    } catch (const std::nested_exception& partlySent) {
        return ExitStatusFor(partlySent.nested_ptr());
    } catch (const EIdSocketError&) {
        return ExitNoConnection;
    } catch (const EIdTlsError&) {
        return ExitNoConnection;
    } catch (const EIdConnClosedGracefully&) {
        return ExitNoConnection;
    } catch (const EIdException&) {
        return ExitServerRefused;
    } catch (...) {
        return ExitFileError;
    }
}
