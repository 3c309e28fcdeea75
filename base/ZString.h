#pragma once

// The game's heap string: zero-terminated 8-bit text in a buffer of exactly length + 1 bytes.
class ZString {
public:
    ZString();
    explicit ZString(char c);
    ZString(const char* text);
    ZString(const ZString& other);
    ZString& operator=(const ZString& other);
    virtual ~ZString();

    const char* GetBuffer() const { return buffer; }
    int GetLength() const;

    void Append(char c);
    void Append(const ZString& other);
    ZString operator+(const ZString& other) const;

    // Index of c at or after start, or -1.
    int Find(char c, int start) const;
    // Characters first to last, both included; empty when first is past the end or after last.
    ZString Mid(int first, int last) const;
    // Removes runs of c: mode 0 from the start, 1 from the end, 2 from both.
    void Trim(int mode, char c);

    bool operator==(const ZString& other) const;

private:
    void Assign(const char* text, int length);
    char* buffer;
};
