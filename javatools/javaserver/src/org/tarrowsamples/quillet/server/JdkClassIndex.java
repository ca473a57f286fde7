package org.tarrowsamples.quillet.server;

import java.nio.file.Path;
import java.util.ArrayList;
import java.util.Collections;
import java.util.List;
import javax.lang.model.element.Element;
import javax.lang.model.element.ModuleElement;
import javax.lang.model.element.Modifier;
import javax.lang.model.element.PackageElement;
import javax.lang.model.element.TypeElement;

/**
 * The names of the public classes a file may import: the JDK's exported
 * java.* and javax.* packages (listed once, then kept) and the top-level
 * types of the source tree (read from its files' names and packages).
 */
public final class JdkClassIndex {
    private volatile List<String> jdk;

    public List<String> jdkTypes(JavaCompilation c) {
        List<String> names = jdk;
        if (names != null) {
            return names;
        }
        names = new ArrayList<>();
        for (ModuleElement module : c.elements.getAllModuleElements()) {
            String m = module.getQualifiedName().toString();
            if (!m.startsWith("java.")) {
                continue;
            }
            for (ModuleElement.Directive d : module.getDirectives()) {
                if (!(d instanceof ModuleElement.ExportsDirective) || ((ModuleElement.ExportsDirective) d).getTargetModules() != null) {
                    continue;
                }
                PackageElement pkg = ((ModuleElement.ExportsDirective) d).getPackage();
                for (Element e : pkg.getEnclosedElements()) {
                    if (e instanceof TypeElement && e.getModifiers().contains(Modifier.PUBLIC)) {
                        names.add(((TypeElement) e).getQualifiedName().toString());
                    }
                }
            }
        }
        Collections.sort(names);
        jdk = names;
        return names;
    }

    /** The qualified names of the source tree's top-level types, by their files. */
    public static List<String> sourceTypes(List<Path> sourcePath) {
        List<String> names = new ArrayList<>();
        for (Path root : sourcePath) {
            for (Path file : ProjectSettings.sourceFiles(List.of(root))) {
                Path rel = root.relativize(file);
                String name = rel.toString().replace('/', '.');
                names.add(name.substring(0, name.length() - ".java".length()));
            }
        }
        return names;
    }
}
