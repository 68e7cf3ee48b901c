#include "support/result_code.h"

const result_code_row_t kResultCodeTable[] = {
    {ResultCode::Normal, "normal"},
    {ResultCode::InvalidArgument, "invalid argument"},
    {ResultCode::NoMemory, "failed allocate memory"},
    {ResultCode::CLibraryError, "C library returns error"},
    {ResultCode::WindowsApiError, "WindowsAPI returns error"},
    {ResultCode::FlowError, "flow error. ex. init() does not call yet."},
    {ResultCode::NoExist, "no exist."},
    {ResultCode::EndOfTable, ""},
};
