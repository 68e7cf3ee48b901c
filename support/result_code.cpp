#include "support/result_code.h"

const result_code_row_t kResultCodeTable[] = {
    {ResultCode::Normal, "normal"},
    {ResultCode::InvalidArgument, "invalid argument"},
    {ResultCode::GiveUpToRetry, "giveup to retry"},
    {ResultCode::NoMemory, "failed allocate memory"},
    {ResultCode::CLibraryError, "C library returns error"},
    {ResultCode::WindowsApiError, "WindowsAPI returns error"},
    {ResultCode::FileIoError, "file io error"},
    {ResultCode::FlowError, "flow error. ex. init() does not call yet."},
    {ResultCode::NoExist, "no exist."},
    {ResultCode::NoSpace, "no space."},
    {ResultCode::InternalError, "internal error"},
    {ResultCode::EndOfTable, ""},
};

const char* ResultCodeText(int32_t code)
{
    for (const result_code_row_t* row = kResultCodeTable; row->code != ResultCode::EndOfTable; ++row) {
        if (row->code == code) return row->text;
    }
    return nullptr;
}
