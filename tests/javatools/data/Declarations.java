package shapes;

import java.util.ArrayList;
import java.util.Iterator;
import java.util.List;

/*
 * This block comment mentions a class Hidden {
 * and an interface Ghost { that are not real.
 */
@SuppressWarnings("unused")
public class Declarations<T extends Comparable<T>> implements Iterable<T> {
    // class Commented { lives in a line comment
    private final List<T> items = new ArrayList<>();
    private final String text = "class Quoted { is a string";
    private final Class<?> type = String.class;

    public Iterator<T> iterator() {
        return items.iterator();
    }

    static class Nested {
        class Inner {
        }
    }

    @Deprecated
    protected static final class Annotated
            extends Nested
    {
    }

    enum Colour { RED, GREEN }

    record Point(int x, int y) implements Comparable<Point> {
        public int compareTo(Point other) {
            return Integer.compare(x, other.x);
        }
    }

    @FunctionalInterface
    interface Visitor<R> {
        R visit(Point point);
    }

    @interface Marker {
    }

    sealed interface Shape permits Circle, Square {
    }

    record Circle(double radius) implements Shape {
    }

    static final class Square implements Shape {
    }
}

abstract class Base<K, V extends List<? super K>> {
    abstract V make(K key);
}
