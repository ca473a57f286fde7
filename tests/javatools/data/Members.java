import java.util.*;
import java.util.function.Supplier;

/** class Hidden { void notAMember() {} } */
@SuppressWarnings({"unchecked", "rawtypes"})
public class Members<K extends Comparable<K>, V> implements Iterable<V> {
    private static final long serialVersionUID = 1L;
    private final Map<K, List<V>> table = new HashMap<>(), spare = null;
    int[] counts = {1, 2, 3}, more[];
    static String text = """
        class NotAType { int notAField; }
        """;
    char brace = '{';
    Runnable action = () -> { int local = 0; };
    Object anonymous = new Object() {
        @Override public String toString() { return "}"; }
    };

    static {
        class LocalInStatic { }
    }

    public Members() { this(16); }
    protected Members(int capacity) { }
    @Deprecated Members(final Map<? extends K, ? extends V> m, int... rest) { }

    public void put(K key, V value) { class Local { void x() { } } }
    public <T> T[] toArray(T[] a) { return a; }
    public Iterator<V> iterator() { return null; }
    static int sum(int a[], long b) { return 0; }
    abstract static class Node<K, V> implements Map.Entry<K, V> {
        final K key;
        Node(K key) { this.key = key; }
        public abstract V getValue();
    }
    interface Visitor {
        int LIMIT = 10;
        void visit(Node<?, ?> node) throws java.io.IOException;
        default boolean done() { return false; }
    }
    enum Colour {
        RED("r") { @Override String code() { return "R"; } },
        @Deprecated GREEN("g"),
        BLUE(String.valueOf(new char[] {'b'}));
        private final String letter;
        Colour(String letter) { this.letter = letter; }
        String code() { return letter; }
    }
    record Point<T>(int x, T y) implements Comparable<Point<T>> {
        static final Point<String> ORIGIN = new Point<>(0, "");
        Point {
            if (x < 0) throw new IllegalArgumentException();
        }
        public int compareTo(Point<T> other) { return Integer.compare(x, other.x); }
    }
    @interface Marker {
        String value() default "{";
        int[] sizes() default {};
    }
    class Inner {
        Inner(Supplier<String> s) { }
    }
}

final class Second {
    void only() { }
}
