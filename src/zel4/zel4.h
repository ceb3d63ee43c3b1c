#pragma once

// The update library: hands a script URL to the update service over a local channel.
// The channel and its protocol are described in docs/update-library.md.
extern "C" {

// Entry point 1: sends the URL and returns; 1 when the service took it, 0 when none listens.
int Tarvon(const char* url);

// Entry point 2: sends the URL and waits at most timeout_ms for the service's one-line
// answer; 1 when the answer came, 0 when no service listens or it did not answer in time.
int TarvonWait(const char* url, int timeout_ms);
}
