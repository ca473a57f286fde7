package org.tarrowsamples.quillet.server;

import com.sun.source.doctree.DocCommentTree;
import com.sun.source.doctree.DocTree;
import com.sun.source.util.TreePath;
import java.util.ArrayList;
import java.util.List;
import java.util.Set;
import javax.lang.model.element.Element;
import javax.lang.model.element.ElementKind;
import javax.lang.model.element.ExecutableElement;
import javax.lang.model.element.Modifier;
import javax.lang.model.element.TypeElement;
import javax.lang.model.element.VariableElement;
import javax.lang.model.type.DeclaredType;
import javax.lang.model.type.ExecutableType;
import javax.lang.model.type.TypeKind;
import javax.lang.model.type.TypeMirror;

/**
 * How elements read to a person: method signatures with parameter names
 * (from the project's sources, or the JDK's src.zip for its classes, since
 * class files keep only arg0, arg1...), declarations, kinds and the first
 * sentence of the Javadoc.
 */
public final class ElementText {
    private final JavaCompilation c;
    private final JdkSources jdk;

    public ElementText(JavaCompilation c, JdkSources jdk) {
        this.c = c;
        this.jdk = jdk;
    }

    /** A type as written in Java source, without package names. */
    public static String typeName(TypeMirror t) {
        return t.toString().replaceAll("\\b[a-z][\\w]*\\.", "").replace("java.lang.", "");
    }

    private boolean fromSource(Element e) {
        return c.trees.getPath(e) != null;
    }

    public List<String> parameterNames(ExecutableElement e) {
        List<String> names = new ArrayList<>();
        for (VariableElement p : e.getParameters()) {
            names.add(p.getSimpleName().toString());
        }
        boolean synthetic = !names.isEmpty() && names.get(0).equals("arg0");
        if (synthetic && !fromSource(e) && jdk.available()) {
            List<String> written = jdk.parameterNames(c, e);
            if (written != null) {
                return written;
            }
        }
        return names;
    }

    /** The parameter texts ("int beginIndex") of a method as seen in the receiver's type. */
    public List<String> parameters(ExecutableElement e, DeclaredType receiver) {
        List<? extends TypeMirror> types = parameterTypes(e, receiver);
        List<String> names = parameterNames(e);
        List<String> out = new ArrayList<>();
        for (int i = 0; i < types.size(); i++) {
            String type = typeName(types.get(i));
            if (e.isVarArgs() && i == types.size() - 1 && type.endsWith("[]")) {
                type = type.substring(0, type.length() - 2) + "...";
            }
            out.add(type + " " + names.get(i));
        }
        return out;
    }

    private List<? extends TypeMirror> parameterTypes(ExecutableElement e, DeclaredType receiver) {
        ExecutableType t = memberType(e, receiver);
        return t != null ? t.getParameterTypes() : ((ExecutableType) e.asType()).getParameterTypes();
    }

    private ExecutableType memberType(ExecutableElement e, DeclaredType receiver) {
        if (receiver != null) {
            try {
                TypeMirror t = c.types.asMemberOf(receiver, e);
                if (t instanceof ExecutableType) {
                    return (ExecutableType) t;
                }
            } catch (IllegalArgumentException notAMember) {
                // The declared type is used as it is.
            }
        }
        return null;
    }

    public String returnType(ExecutableElement e, DeclaredType receiver) {
        ExecutableType t = memberType(e, receiver);
        return typeName(t != null ? t.getReturnType() : e.getReturnType());
    }

    public String fieldType(Element e, DeclaredType receiver) {
        if (receiver != null) {
            try {
                return typeName(c.types.asMemberOf(receiver, e));
            } catch (IllegalArgumentException notAMember) {
                // The declared type is used as it is.
            }
        }
        return typeName(e.asType());
    }

    /** "name(int a, String b)" for methods and constructors. */
    public String signature(ExecutableElement e, DeclaredType receiver) {
        String name = e.getKind() == ElementKind.CONSTRUCTOR
            ? e.getEnclosingElement().getSimpleName().toString() : e.getSimpleName().toString();
        return name + "(" + String.join(", ", parameters(e, receiver)) + ")";
    }

    /** The declaration as Java would write it, for hovers. */
    public String declaration(Element e) {
        StringBuilder out = new StringBuilder();
        Set<Modifier> modifiers = e.getModifiers();
        for (Modifier m : modifiers) {
            boolean implied = m == Modifier.ABSTRACT && (e.getKind().isInterface()
                || e.getEnclosingElement() != null && e.getEnclosingElement().getKind().isInterface());
            if (m != Modifier.NATIVE && m != Modifier.SYNCHRONIZED && m != Modifier.STRICTFP && !implied) {
                out.append(m).append(' ');
            }
        }
        switch (e.getKind()) {
            case METHOD: {
                ExecutableElement ee = (ExecutableElement) e;
                out.append(typeName(ee.getReturnType())).append(' ');
                out.append(owner(e)).append(signature(ee, null));
                break;
            }
            case CONSTRUCTOR:
                out.append(owner(e.getEnclosingElement())).append(signature((ExecutableElement) e, null));
                break;
            case FIELD:
            case ENUM_CONSTANT:
                out.append(typeName(e.asType())).append(' ').append(owner(e)).append(e.getSimpleName());
                break;
            case LOCAL_VARIABLE:
            case PARAMETER:
            case EXCEPTION_PARAMETER:
            case RESOURCE_VARIABLE:
            case BINDING_VARIABLE:
                out.append(typeName(e.asType())).append(' ').append(e.getSimpleName());
                break;
            case CLASS:
            case INTERFACE:
            case ENUM:
            case ANNOTATION_TYPE:
            case RECORD: {
                String word = e.getKind() == ElementKind.ANNOTATION_TYPE ? "@interface"
                    : e.getKind().toString().toLowerCase(java.util.Locale.ROOT);
                out.append(word).append(' ').append(((TypeElement) e).getQualifiedName());
                break;
            }
            default:
                out.append(e.toString());
        }
        return out.toString().trim();
    }

    private static String owner(Element member) {
        Element owner = member.getEnclosingElement();
        return owner instanceof TypeElement ? ((TypeElement) owner).getQualifiedName() + "." : "";
    }

    /** The first sentence of the element's Javadoc as plain text, or "". */
    public String firstSentence(Element e) {
        DocCommentTree doc = null;
        TreePath path = c.trees.getPath(e);
        if (path != null) {
            doc = c.trees.getDocCommentTree(path);
        } else if (jdk.available()) {
            JdkSources.Declaration d = jdk.find(c, e);
            doc = d != null ? d.doc : null;
        }
        if (doc == null) {
            return "";
        }
        StringBuilder out = new StringBuilder();
        for (DocTree t : doc.getFirstSentence()) {
            out.append(t.toString());
        }
        return plain(out.toString());
    }

    // Inline tags {@code x} and {@link A#b} read as their text; HTML tags are dropped.
    private static String plain(String doc) {
        String s = doc.replaceAll("\\{@(?:code|literal)\\s+([^}]*)}", "$1");
        s = s.replaceAll("\\{@(?:link|linkplain)\\s+(?:\\S+\\s+)?([^}\\s]*)}", "$1");
        s = s.replaceAll("\\{@link(?:plain)?\\s+\\S+\\s+([^}]*)}", "$1");
        s = s.replaceAll("<[^>]+>", "");
        return s.replaceAll("\\s+", " ").trim();
    }

    /** The protocol's CompletionItemKind of an element. */
    public static int completionKind(Element e) {
        switch (e.getKind()) {
            case METHOD: return 2;
            case CONSTRUCTOR: return 4;
            case FIELD: return e.getModifiers().contains(Modifier.FINAL) && e.getModifiers().contains(Modifier.STATIC) ? 21 : 5;
            case ENUM_CONSTANT: return 20;
            case LOCAL_VARIABLE:
            case PARAMETER:
            case EXCEPTION_PARAMETER:
            case RESOURCE_VARIABLE:
            case BINDING_VARIABLE:
                return 6;
            case INTERFACE:
            case ANNOTATION_TYPE:
                return 8;
            case ENUM: return 13;
            case CLASS:
            case RECORD:
                return 7;
            case PACKAGE: return 9;
            default: return 1;
        }
    }

    public static boolean isStatic(Element e) {
        return e.getModifiers().contains(Modifier.STATIC);
    }

    public static boolean isVoid(ExecutableElement e) {
        return e.getReturnType().getKind() == TypeKind.VOID;
    }
}
