#pragma once
// A test seam of the platform: this program calls each imported function
// through its import slot, so a replacement written there sees the record
// that a call hands to the system, even where the system ignores a field.
#include <windows.h>
#include <string>
#include <type_traits>
#include <vector>

// The slot of an imported function: its data symbol __imp_NAME, or
// __imp__NAME@BYTES for the 32-bit standard calls.
#ifdef _WIN64
#define IMPORT_SLOT(name, argumentBytes) extern "C" decltype(&name) name##Slot asm("__imp_" #name)
#else
#define IMPORT_SLOT(name, argumentBytes) \
    extern "C" decltype(&name) name##Slot asm("__imp__" #name "@" #argumentBytes)
#endif

// Points the slot at a recorder while the object lives. The recorder passes
// the call on through `original`, the system's function.
template <auto& slot>
class Intercept {
public:
    using Function = std::remove_reference_t<decltype(slot)>;
    explicit Intercept(Function recorder)
    {
        original = slot;
        Write(recorder);
    }
    ~Intercept() { Write(original); }
    Intercept(const Intercept&) = delete;
    Intercept& operator=(const Intercept&) = delete;

    static inline Function original = nullptr;

private:
    static void Write(Function function)
    {
        DWORD protection;
        VirtualProtect(&slot, sizeof(slot), PAGE_READWRITE, &protection);
        slot = function;
        VirtualProtect(&slot, sizeof(slot), protection, &protection);
    }
};

IMPORT_SLOT(GetProcAddress, 8);

// A function as GetProcAddress gives it out.
template <typename Function>
FARPROC AsFound(Function* function)
{
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

// The functions that the code under test looks up at run time, answered with
// recorders (or null: a system that lacks the function) while the object
// lives; every other name goes to the system. Notes the file of the module
// each answered name was asked of (the program's own for a null module).
class InterceptLookups {
public:
    struct Answer {
        const char* name;
        FARPROC function;
        std::string module;
    };
    explicit InterceptLookups(std::vector<Answer> answers) : answers(std::move(answers)), find(Find)
    {
        current = this;
    }
    ~InterceptLookups() { current = nullptr; }
    Answer& operator[](const char* name)
    {
        for (Answer& answer : answers) {
            if (lstrcmpA(answer.name, name) == 0)
                return answer;
        }
        return answers.front();
    }

private:
    static FARPROC WINAPI Find(HMODULE module, LPCSTR name)
    {
        if (current && HIWORD(reinterpret_cast<ULONG_PTR>(name))) {
            for (Answer& answer : current->answers) {
                if (lstrcmpA(answer.name, name) != 0)
                    continue;
                char file[MAX_PATH] = "";
                GetModuleFileNameA(module, file, MAX_PATH);
                answer.module = file;
                return answer.function;
            }
        }
        return Intercept<GetProcAddressSlot>::original(module, name);
    }
    static inline InterceptLookups* current = nullptr;
    std::vector<Answer> answers;
    Intercept<GetProcAddressSlot> find;
};

// The full path of a library in the system folder.
inline std::string SystemLibrary(const char* name)
{
    char folder[MAX_PATH] = "";
    GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}
