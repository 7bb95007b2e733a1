#include "files/file_result.h"

#include <cstring>

namespace vellumar {

FileStatus FileStatus::FromErrno(FileFailure failure, int error) {
    return FileStatus(failure, std::strerror(error));
}

} // namespace vellumar
