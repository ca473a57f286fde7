#!/usr/bin/env python3
"""A scripted language server for the client's tests.

LspPeer.py MODE STATEFILE. It keeps the documents as the client sends
them (applying incremental changes in UTF-16 columns) and answers hover
with its whole state as JSON, so a test can compare. MODE:
  normal    answers everything at once
  trickle   writes every message one byte at a time
  order     holds completion and definition replies until signatureHelp,
            then sends them newest first
  crash     the first run dies at its first completion request
  garbage   the first run answers its first completion with a broken header
  huge      ... with a length over the client's limit
  badjson   ... with a body that is not JSON
  stubborn  ignores shutdown, exit and SIGTERM
The STATEFILE marks that a first run already misbehaved.
"""
import json
import os
import signal
import sys

mode = sys.argv[1]
state_file = sys.argv[2]
first_run = not os.path.exists(state_file)
out = sys.stdout.buffer
inp = sys.stdin.buffer

docs = {}         # uri -> text
versions = {}     # uri -> version
opens = {}        # uri -> didOpen count
answers = {}      # method of our request -> what the client answered
cancelled = []
received = []
held = []
asked = {}        # our request id -> method


def send(message):
    body = json.dumps(message).encode()
    data = b"Content-Length: %d\r\nContent-Type: application/vscode-jsonrpc; charset=utf-8\r\n\r\n" % len(body) + body
    if mode == "trickle":
        for i in range(len(data)):
            out.write(data[i:i + 1])
            out.flush()
    else:
        out.write(data)
        out.flush()


def raw(data):
    out.write(data)
    out.flush()


def read_message():
    length = None
    while True:
        line = inp.readline()
        if not line:
            return None
        line = line.strip()
        if not line:
            break
        name, _, value = line.partition(b":")
        if name.lower() == b"content-length":
            length = int(value)
    body = inp.read(length)
    return json.loads(body)


def offset(text, line, character):
    lines = text.split("\n")
    start = sum(len(l) + 1 for l in lines[:line])
    units = lines[line].encode("utf-16-le") if line < len(lines) else b""
    prefix = units[:character * 2].decode("utf-16-le")
    return start + len(prefix)


def diagnose(uri):
    send({"jsonrpc": "2.0", "method": "textDocument/publishDiagnostics",
          "params": {"uri": uri, "version": versions[uri], "diagnostics": [
              {"range": {"start": {"line": 0, "character": 0}, "end": {"line": 0, "character": 1}},
               "severity": 2, "message": "v%d" % versions[uri], "source": "peer", "code": 7}]}})


def reply(request, result):
    send({"jsonrpc": "2.0", "id": request["id"], "result": result})


def version_of(params):
    return versions.get(params["textDocument"]["uri"], -1)


def misbehave():
    with open(state_file, "w"):
        pass
    if mode == "crash":
        sys.stderr.write("dying\n")
        sys.stderr.flush()
        os._exit(3)
    if mode == "garbage":
        raw(b"Content-Length: twelve\r\n\r\n{}")
    elif mode == "huge":
        raw(b"Content-Length: 100000000\r\n\r\n{")
    elif mode == "badjson":
        raw(b"Content-Length: 9\r\n\r\n{not json")


if mode == "stubborn":
    signal.signal(signal.SIGTERM, signal.SIG_IGN)

while True:
    message = read_message()
    if message is None:
        sys.exit(0)
    method = message.get("method")
    params = message.get("params", {})
    if method is None:  # an answer to one of our requests
        answers[asked.get(message["id"], "?")] = message.get("result", message.get("error"))
        continue
    received.append(method)
    if method == "initialize":
        reply(message, {"capabilities": {
            "textDocumentSync": {"openClose": True, "change": 2, "save": {"includeText": True}},
            "completionProvider": {"resolveProvider": True, "triggerCharacters": ["."]},
            "signatureHelpProvider": {"triggerCharacters": ["("]},
            "hoverProvider": True, "definitionProvider": True, "referencesProvider": True},
            "serverInfo": {"name": "peer"}})
    elif method == "initialized":
        send({"jsonrpc": "2.0", "method": "window/showMessage", "params": {"type": 2, "message": "indexing"}})
        for number, (name, request_params) in enumerate([
                ("workspace/configuration", {"items": [{"section": "java"}, {"section": "java.format"}]}),
                ("window/workDoneProgress/create", {"token": "t1"}),
                ("client/registerCapability", {"registrations": []}),
                ("workspace/workspaceFolders", None),
                ("custom/unknown", {})]):
            asked["s%d" % number] = name
            request = {"jsonrpc": "2.0", "id": "s%d" % number, "method": name}
            if request_params is not None:
                request["params"] = request_params
            send(request)
    elif method == "textDocument/didOpen":
        document = params["textDocument"]
        docs[document["uri"]] = document["text"]
        versions[document["uri"]] = document["version"]
        opens[document["uri"]] = opens.get(document["uri"], 0) + 1
        diagnose(document["uri"])
    elif method == "textDocument/didChange":
        uri = params["textDocument"]["uri"]
        for change in params["contentChanges"]:
            text = docs[uri]
            if "range" in change:
                start = offset(text, change["range"]["start"]["line"], change["range"]["start"]["character"])
                end = offset(text, change["range"]["end"]["line"], change["range"]["end"]["character"])
                docs[uri] = text[:start] + change["text"] + text[end:]
            else:
                docs[uri] = change["text"]
        versions[uri] = params["textDocument"]["version"]
        diagnose(uri)
    elif method == "textDocument/didSave":
        answers["didSave"] = params.get("text") == docs[params["textDocument"]["uri"]]
    elif method == "textDocument/didClose":
        uri = params["textDocument"]["uri"]
        docs.pop(uri, None)
    elif method == "$/cancelRequest":
        cancelled.append(params["id"])
    elif method == "textDocument/completion":
        if mode in ("crash", "garbage", "huge", "badjson") and first_run:
            misbehave()
            continue
        position = params["position"]
        item = {"label": "v%d" % version_of(params), "kind": 2, "detail": "at %d:%d" % (position["line"], position["character"]),
                "insertText": "value()", "data": {"n": 1},
                "textEdit": {"range": {"start": position, "end": position}, "newText": "value()"},
                "additionalTextEdits": [{"range": {"start": {"line": 0, "character": 0},
                                                   "end": {"line": 0, "character": 0}}, "newText": "import x;\n"}]}
        result = {"isIncomplete": False, "items": [item, {"label": ""}, 5]}
        if mode == "order":
            held.append((message, result))
        else:
            reply(message, result)
    elif method == "completionItem/resolve":
        params["detail"] = "resolved"
        params["documentation"] = {"kind": "markdown", "value": "**doc**"}
        reply(message, params)
    elif method == "textDocument/definition":
        result = [{"uri": params["textDocument"]["uri"],
                   "range": {"start": params["position"], "end": params["position"]}}]
        if mode == "order":
            held.append((message, result))
        else:
            reply(message, result)
    elif method == "textDocument/references":
        reply(message, [{"targetUri": "file:///b.java",
                         "targetRange": {"start": {"line": 1, "character": 0}, "end": {"line": 3, "character": 0}},
                         "targetSelectionRange": {"start": {"line": 2, "character": 4}, "end": {"line": 2, "character": 5}}},
                        {"uri": "file:///a.java"}])
    elif method == "textDocument/signatureHelp":
        for waiting, result in reversed(held):
            reply(waiting, result)
        held.clear()
        reply(message, {"signatures": [{"label": "f(int a, String b)", "parameters": [
            {"label": [2, 7]}, {"label": "String b", "documentation": "the b"}]}],
            "activeSignature": 0, "activeParameter": 1})
    elif method == "textDocument/hover":
        state = {"texts": docs, "versions": versions, "opens": opens, "answers": answers,
                 "cancelled": cancelled, "received": received}
        reply(message, {"contents": {"kind": "markdown", "value": json.dumps(state)}})
    elif method == "shutdown":
        if mode != "stubborn":
            reply(message, None)
    elif method == "exit":
        if mode != "stubborn":
            sys.exit(0)
    elif "id" in message:
        send({"jsonrpc": "2.0", "id": message["id"], "error": {"code": -32601, "message": "no"}})
