package org.tarrowsamples.quillet.server;

import com.sun.source.tree.CompilationUnitTree;
import com.sun.source.tree.ImportTree;
import java.util.List;
import java.util.Map;

/** Where a new import goes: after the last import, else after the package line, else at the top. */
public final class ImportPlacement {
    private ImportPlacement() {
    }

    public static Map<String, Object> importEdit(JavaCompilation c, CompilationUnitTree unit, String text,
                                                 String qualified) {
        List<? extends ImportTree> imports = unit.getImports();
        String line = "import " + qualified + ";";
        if (!imports.isEmpty()) {
            int end = lineEnd(text, (int) c.positions.getStartPosition(unit, imports.get(imports.size() - 1)));
            return edit(text, end, "\n" + line);
        }
        if (unit.getPackage() != null) {
            int end = lineEnd(text, (int) c.positions.getStartPosition(unit, unit.getPackage()));
            return edit(text, end, "\n\n" + line);
        }
        return edit(text, 0, line + "\n\n");
    }

    private static int lineEnd(String text, int from) {
        int newline = text.indexOf('\n', Math.max(0, from));
        int end = newline < 0 ? text.length() : newline;
        return end > 0 && end <= text.length() && end > from && text.charAt(end - 1) == '\r' ? end - 1 : end;
    }

    private static Map<String, Object> edit(String text, int at, String newText) {
        return Json.object("range", Protocol.range(text, at, at), "newText", newText);
    }
}
