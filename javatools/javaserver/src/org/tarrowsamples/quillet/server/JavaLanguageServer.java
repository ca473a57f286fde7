package org.tarrowsamples.quillet.server;

import java.io.BufferedInputStream;
import java.io.BufferedOutputStream;
import java.io.IOException;
import java.io.PrintStream;
import java.net.URI;
import java.util.HashMap;
import java.util.List;
import java.util.Map;
import java.util.concurrent.ConcurrentHashMap;
import java.util.concurrent.ExecutorService;
import java.util.concurrent.Executors;

/**
 * Quillet's Java language server: the Language Server Protocol over stdin
 * and stdout. The reader thread keeps the documents and hands every request
 * to a worker; diagnostics run on a worker of their own. Standard output is
 * the protocol's alone, so anything else printed goes to standard error.
 */
public final class JavaLanguageServer {
    private static final int PARSE_ERROR = -32700;
    private static final int INVALID_REQUEST = -32600;
    private static final int METHOD_NOT_FOUND = -32601;
    private static final int INVALID_PARAMS = -32602;
    private static final int INTERNAL_ERROR = -32603;
    private static final int SERVER_NOT_INITIALIZED = -32002;

    private final MessageTransport transport;
    private final Map<URI, TextDocument> documents = new ConcurrentHashMap<>();
    private final ExecutorService requests = Executors.newSingleThreadExecutor(r -> {
        Thread t = new Thread(r, "requests");
        t.setDaemon(true);
        return t;
    });
    private final DiagnosticsScheduler diagnostics;
    private final JdkClassIndex classIndex = new JdkClassIndex();
    private volatile ProjectSettings settings = new ProjectSettings(null);
    private volatile JdkSources jdk = new JdkSources(null);
    private boolean initialized;
    private boolean shutdown;

    JavaLanguageServer(MessageTransport transport) {
        this.transport = transport;
        this.diagnostics = new DiagnosticsScheduler(params -> notify("textDocument/publishDiagnostics", params));
    }

    public static void main(String[] args) throws IOException {
        PrintStream protocolOut = new PrintStream(new BufferedOutputStream(System.out), false, "UTF-8");
        System.setOut(System.err);
        JavaLanguageServer server = new JavaLanguageServer(
            new MessageTransport(new BufferedInputStream(System.in), protocolOut));
        System.exit(server.run());
    }

    /** Reads messages until exit or the end of the input; returns the exit status. */
    int run() throws IOException {
        while (true) {
            String body;
            try {
                body = transport.read();
            } catch (IOException badFrame) {
                System.err.println("quillet-java-server: " + badFrame.getMessage());
                return 1;
            }
            if (body == null) {
                return 1;
            }
            Map<String, Object> message;
            try {
                message = Json.asObject(Json.parse(body));
            } catch (IllegalArgumentException bad) {
                respondError(null, PARSE_ERROR, bad.getMessage());
                continue;
            }
            if (message == null || !(message.get("method") instanceof String)) {
                if (message == null || !message.containsKey("result") && !message.containsKey("error")) {
                    respondError(message == null ? null : message.get("id"), INVALID_REQUEST, "not a request");
                }
                continue;
            }
            String method = (String) message.get("method");
            if (method.equals("exit")) {
                return shutdown ? 0 : 1;
            }
            Object id = message.get("id");
            Map<String, Object> params = Json.asObject(message.get("params"));
            if (params == null) {
                params = new HashMap<>();
            }
            try {
                handle(method, id, message.containsKey("id"), params);
            } catch (RuntimeException broken) {
                // A malformed notification is dropped; the server goes on.
                broken.printStackTrace();
                if (message.containsKey("id")) {
                    respondError(id, INTERNAL_ERROR, String.valueOf(broken));
                }
            }
        }
    }

    private void handle(String method, Object id, boolean isRequest, Map<String, Object> params) {
        if (method.equals("initialize")) {
            initialize(id, params);
            return;
        }
        if (!initialized) {
            if (isRequest) {
                respondError(id, SERVER_NOT_INITIALIZED, "initialize first");
            }
            return;
        }
        switch (method) {
            case "initialized":
            case "$/cancelRequest":
            case "$/setTrace":
            case "workspace/didChangeConfiguration":
                return;
            case "shutdown":
                shutdown = true;
                requests.submit(() -> respond(id, null));
                return;
            case "textDocument/didOpen":
                didOpen(params);
                return;
            case "textDocument/didChange":
                didChange(params);
                return;
            case "textDocument/didSave":
                return;
            case "textDocument/didClose":
                didClose(params);
                return;
            default:
                break;
        }
        if (!isRequest) {
            return;
        }
        TextDocument doc = document(params);
        if (doc == null && method.startsWith("textDocument/")) {
            respondError(id, INVALID_PARAMS, "the document is not open");
            return;
        }
        // The snapshot is taken now, so the answer is about the text the request saw.
        SourceContext source = doc == null ? null : new SourceContext(doc, settings);
        JdkSources sources = jdk;
        Map<URI, String> openTexts = openTexts();
        requests.submit(() -> {
            try {
                Object result;
                switch (method) {
                    case "textDocument/completion":
                        result = new CompletionProvider(classIndex, sources)
                            .complete(source, Protocol.offsetOf(params, source.text));
                        break;
                    case "textDocument/signatureHelp":
                        result = new SignatureHelpProvider(sources).help(source, Protocol.offsetOf(params, source.text));
                        break;
                    case "textDocument/hover":
                        result = new NavigationProvider(sources).hover(source, Protocol.offsetOf(params, source.text));
                        break;
                    case "textDocument/definition":
                        result = new NavigationProvider(sources).definition(source, Protocol.offsetOf(params, source.text));
                        break;
                    case "textDocument/references": {
                        Map<String, Object> context = Json.asObject(params.get("context"));
                        boolean declaration = context != null && Boolean.TRUE.equals(context.get("includeDeclaration"));
                        result = new NavigationProvider(sources).references(source,
                            Protocol.offsetOf(params, source.text), declaration, openTexts);
                        break;
                    }
                    default:
                        respondError(id, METHOD_NOT_FOUND, "unknown method " + method);
                        return;
                }
                respond(id, result);
            } catch (IllegalArgumentException bad) {
                respondError(id, INVALID_PARAMS, bad.getMessage());
            } catch (RuntimeException | Error broken) {
                broken.printStackTrace();
                respondError(id, INTERNAL_ERROR, String.valueOf(broken));
            }
        });
    }

    private void initialize(Object id, Map<String, Object> params) {
        settings = new ProjectSettings(Json.asObject(params.get("initializationOptions")));
        jdk = new JdkSources(settings.jdkSourceZip());
        initialized = true;
        Map<String, Object> capabilities = Json.object(
            "textDocumentSync", Json.object("openClose", true, "change", 2, "save", Json.object("includeText", false)),
            "completionProvider", Json.object("triggerCharacters", List.of("."), "resolveProvider", false),
            "signatureHelpProvider", Json.object("triggerCharacters", List.of("(", ","),
                "retriggerCharacters", List.of(",")),
            "hoverProvider", true,
            "definitionProvider", true,
            "referencesProvider", true,
            "positionEncoding", "utf-16");
        respond(id, Json.object("capabilities", capabilities,
            "serverInfo", Json.object("name", "quillet-java-server", "version", "1.0")));
    }

    private TextDocument document(Map<String, Object> params) {
        Map<String, Object> doc = Json.asObject(params.get("textDocument"));
        if (doc == null || !(doc.get("uri") instanceof String)) {
            return null;
        }
        try {
            return documents.get(URI.create((String) doc.get("uri")));
        } catch (IllegalArgumentException bad) {
            return null;
        }
    }

    private Map<URI, String> openTexts() {
        Map<URI, String> texts = new HashMap<>();
        for (TextDocument d : documents.values()) {
            texts.put(d.uri, d.text());
        }
        return texts;
    }

    private void didOpen(Map<String, Object> params) {
        Map<String, Object> item = Json.asObject(params.get("textDocument"));
        if (item == null || !(item.get("uri") instanceof String) || !(item.get("text") instanceof String)) {
            return;
        }
        try {
            URI uri = URI.create((String) item.get("uri"));
            TextDocument doc = new TextDocument(uri, (String) item.get("text"), Json.asInt(item.get("version"), 0));
            documents.put(uri, doc);
            diagnostics.changed(new SourceContext(doc, settings), doc.version());
        } catch (IllegalArgumentException | java.nio.file.FileSystemNotFoundException notAFile) {
            System.err.println("quillet-java-server: not a file URI: " + item.get("uri"));
        }
    }

    private void didChange(Map<String, Object> params) {
        TextDocument doc = document(params);
        List<Object> changes = Json.asList(params.get("contentChanges"));
        if (doc == null || changes == null) {
            return;
        }
        int version = Json.asInt(Json.asObject(params.get("textDocument")).get("version"), doc.version() + 1);
        for (Object change : changes) {
            Map<String, Object> c = Json.asObject(change);
            if (c == null || !(c.get("text") instanceof String)) {
                continue;
            }
            Map<String, Object> range = Json.asObject(c.get("range"));
            if (range == null) {
                doc.replaceAll((String) c.get("text"), version);
                continue;
            }
            Map<String, Object> start = Json.asObject(range.get("start"));
            Map<String, Object> end = Json.asObject(range.get("end"));
            if (start == null || end == null) {
                continue;
            }
            doc.replace(Json.asInt(start.get("line"), 0), Json.asInt(start.get("character"), 0),
                Json.asInt(end.get("line"), 0), Json.asInt(end.get("character"), 0), (String) c.get("text"), version);
        }
        diagnostics.changed(new SourceContext(doc, settings), doc.version());
    }

    private void didClose(Map<String, Object> params) {
        TextDocument doc = document(params);
        if (doc != null) {
            documents.remove(doc.uri);
            diagnostics.closed(doc.uri);
        }
    }

    private void respond(Object id, Object result) {
        Map<String, Object> message = Json.object("jsonrpc", "2.0", "id", id);
        message.put("result", result);
        send(message);
    }

    private void respondError(Object id, int code, String text) {
        send(Json.object("jsonrpc", "2.0", "id", id, "error", Json.object("code", code, "message", text)));
    }

    private void notify(String method, Map<String, Object> params) {
        send(Json.object("jsonrpc", "2.0", "method", method, "params", params));
    }

    private void send(Map<String, Object> message) {
        try {
            transport.write(Json.write(message));
        } catch (IOException | RuntimeException gone) {
            System.err.println("quillet-java-server: cannot write: " + gone.getMessage());
        }
    }
}
