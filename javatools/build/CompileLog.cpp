#include "javatools/build/CompileLog.h"

#include "javatools/build/CommandArguments.h"

std::string CompileLog::CompilingLine(const std::string& target)
{
    return "-Compiling " + QuoteForDisplay(target) + "-\r\n";
}

CompileLog::CompileLog(const std::string& compiler, const std::string& target)
    : text_("-Called Compiler " + QuoteForDisplay(compiler) + "-\r\n-Target File: " +
            QuoteForDisplay(target) + "-\r\n")
{
}

void CompileLog::AppendStartFailure(const std::string& program, const std::string& reason)
{
    text_ += "Could not start " + QuoteForDisplay(program) + ": " + reason;
}

void CompileLog::Finish()
{
    text_ += "\r\n-Finished-";
}

void CompileLog::FinishStopped()
{
    text_ += "\r\n";
    text_ += kStopped;
}
